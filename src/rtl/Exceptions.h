// The host's exception hierarchy: every error the host layer and Plumex throw.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace plx {

//! The general exception class: a message and nothing else.
class Exception : public std::exception {
public:
    explicit Exception(std::string message)
        : m_message(std::move(message))
    {
    }
    [[nodiscard]] const std::string& Message() const noexcept { return m_message; }
    [[nodiscard]] const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};

#define PLX_DECLARE_EXCEPTION(Name, Base)        \
    class Name : public Base {                   \
    public:                                      \
        using Base::Base;                        \
    }

//! A value that cannot be converted (text to number or date, one class to another).
PLX_DECLARE_EXCEPTION(EConvertError, Exception);
//! A list index or capacity out of range; the message names the index.
PLX_DECLARE_EXCEPTION(EListError, Exception);
PLX_DECLARE_EXCEPTION(EStringListError, EListError);
//! Stream and streaming errors.
PLX_DECLARE_EXCEPTION(EStreamError, Exception);
PLX_DECLARE_EXCEPTION(EFCreateError, EStreamError);
PLX_DECLARE_EXCEPTION(EFOpenError, EStreamError);
PLX_DECLARE_EXCEPTION(EFilerError, EStreamError);
PLX_DECLARE_EXCEPTION(EReadError, EFilerError);
PLX_DECLARE_EXCEPTION(EWriteError, EFilerError);
PLX_DECLARE_EXCEPTION(EClassNotFound, EFilerError);
//! File input and output failures.
PLX_DECLARE_EXCEPTION(EInOutError, Exception);
//! An initialisation file that cannot be written, or a name or value it cannot hold.
PLX_DECLARE_EXCEPTION(EIniFileException, Exception);
//! Graphics: malformed images, impossible sizes, bad operations on a graphic.
PLX_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
PLX_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);
PLX_DECLARE_EXCEPTION(EOutOfResources, Exception);
PLX_DECLARE_EXCEPTION(EResNotFound, Exception);
//! Operations not allowed in the object's current state.
PLX_DECLARE_EXCEPTION(EInvalidOperation, Exception);
PLX_DECLARE_EXCEPTION(EComponentError, Exception);
PLX_DECLARE_EXCEPTION(EPropertyError, Exception);
//! A package that cannot be loaded or unloaded: not a package, a missing
//! required package, classes still in use.
PLX_DECLARE_EXCEPTION(EPackageError, Exception);
//! A variant value that is not of the expected kind.
PLX_DECLARE_EXCEPTION(EVariantError, Exception);

#undef PLX_DECLARE_EXCEPTION

} // namespace plx
