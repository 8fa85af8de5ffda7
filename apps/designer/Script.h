// Designer scripts: commands, one a line, that do what a user does in the
// designer (load packages, drop components, set properties, run verbs, click
// and type, save, take pictures), so that tests and CI drive it without a
// window system. "#" starts a comment.
#pragma once

#include "framework/host/Platform.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace plx::designer {

class TDesignerApp;

//! The commands, as --help shows them.
extern const char* const kScriptHelp;

class TDesignerScript {
public:
    //! A script acting on app; what commands print goes to out.
    TDesignerScript(TDesignerApp& app, std::ostream& out);

    //! Runs the lines in order. The first failing line stops the script with
    //! an Exception "name:line: message"; what the lines before did stays.
    void Run(const std::string& text, const std::string& name);
    //! Runs one command line.
    void RunLine(const std::string& line);

private:
    void Package(const std::vector<std::string>& args);
    void Mouse(const std::vector<std::string>& args);
    void Click(const std::vector<std::string>& args, bool twice);
    void Key(const std::string& name);
    void Deliver(TPlatformEvent event);

    TDesignerApp& m_app;
    std::ostream& m_out;
    TWindowId m_keyWindow { 0 }; //!< the window clicked last
};

//! Splits a command line into words: spaces separate, '...' or "..." quote
//! (a doubled quote inside stands for one).
[[nodiscard]] std::vector<std::string> SplitWords(const std::string& line);

} // namespace plx::designer
