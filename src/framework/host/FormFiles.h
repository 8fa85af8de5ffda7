// Form files: a readable text format for a component and everything it owns,
// written from and read into the published-property tables.
#pragma once

#include "framework/host/Component.h"

#include <string>

namespace plx {

struct TFormReadOptions {
    //! A handler name the form does not know is an error (otherwise the name is
    //! kept and the event stays unassigned, which tools that only render need).
    bool strictHandlers { false };
    //! A root class that is not registered is read as a TForm (forms of an
    //! application's own classes can then be rendered).
    bool unknownRootAsForm { true };
};

//! The root and what it owns, nested as on the form:
//!   object Form1: TForm
//!     Caption = 'Demo'
//!     object Panel1: TPanel
//!       Left = 8
//!     end
//!   end
//! One "Property = value" a line; only values that differ from their default
//! (or have none) are written.
[[nodiscard]] std::string WriteComponentText(const TComponent& root);

//! Reads a form file into an existing root: creates the components it lists
//! (owned by the root), sets csLoading, sets the stored properties in file order,
//! resolves references, then calls Loaded on every component read. A malformed
//! file raises EReadError naming the line and the problem, and frees every
//! component it had created.
void ReadComponentText(const std::string& text, TComponent& root, const TFormReadOptions& options = {});

//! Reads a form file whose root is created from the class registry, owned by
//! owner. Forms get their OnCreate after reading.
[[nodiscard]] TComponent* ReadComponentFromText(const std::string& text, TComponent* owner, const TFormReadOptions& options = {});

//! File forms of the above.
void SaveFormFile(const TComponent& root, const std::string& fileName);
[[nodiscard]] TComponent* LoadFormFile(const std::string& fileName, TComponent* owner, const TFormReadOptions& options = {});

} // namespace plx
