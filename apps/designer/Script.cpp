#include "designer/Script.h"

#include "designer/DesignerApp.h"
#include "designer/Inspector.h"
#include "designer/Palette.h"
#include "designer/PopupList.h"
#include "framework/host/DesignIntf.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/Packages.h"
#include "rtl/Exceptions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <ostream>
#include <sstream>

namespace plx::designer {

const char* const kScriptHelp = R"(script commands (one a line; '#' starts a comment; coordinates are pixels):
  package load [FILE]        load a package (default: the one beside the program)
  package unload NAME        unload a package
  new [WIDTH HEIGHT]         start a new form
  open FILE | save [FILE]    read or write a form file
  drop CLASS X Y [W H]       place a component at X Y of the form (inside the container there)
  select NAME | select none  select a component (or the form)
  set NAME.PROPERTY VALUE    set a property (sub-properties by path: Gradient.Color1)
  get NAME.PROPERTY          print a property's value
  bounds NAME X Y W H        move and size a control
  delete NAME                delete a component
  verbs NAME                 print the verbs of the component's editor
  verb NAME INDEX|CAPTION    run a verb
  edit NAME                  what a double click on the component does
  dialog NAME.PROPERTY       what the property's "..." button does
  palette                    print the palette's pages and classes
  properties [NAME]          print the inspector's rows
  expand PATH | collapse PATH  open or close a row of the inspector
  mouse down|up|move X Y [right]   pointer input at a screen point
  click X Y [right]          press and release at a screen point
  double-click X Y           two clicks in quick succession
  type TEXT                  type characters into the window clicked last
  key enter|escape|back|up|down|delete   press a key there
  screenshot FILE            the screen as shown (.png or .bmp)
  form-view FILE             the designed form's window as shown
  status                     print the status line
  print TEXT                 print a line
)";

namespace {

bool SameText(std::string_view a, std::string_view b) noexcept
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::int32_t Number(const std::string& word)
{
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        throw EConvertError("'" + word + "' is not a number");
    return value;
}

void Expect(const std::vector<std::string>& args, std::size_t least, std::size_t most, const char* usage)
{
    if (args.size() < least || args.size() > most)
        throw EConvertError(std::string("usage: ") + usage);
}

// "Label1.Font.Color" splits into the component and the property path.
std::pair<std::string, std::string> SplitTarget(const std::string& target)
{
    const std::size_t dot = target.find('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == target.size())
        throw EConvertError("'" + target + "' is not NAME.PROPERTY");
    return { target.substr(0, dot), target.substr(dot + 1) };
}

// The rest of a line after its first n words, unquoted when it is one quoted word.
std::string RestOfLine(const std::string& line, std::size_t words)
{
    std::size_t pos = 0;
    for (std::size_t w = 0; w < words; ++w) {
        while (pos < line.size() && std::isspace(static_cast<unsigned char>(line[pos])))
            ++pos;
        while (pos < line.size() && !std::isspace(static_cast<unsigned char>(line[pos])))
            ++pos;
    }
    std::string rest = line.substr(std::min(pos, line.size()));
    const auto first = rest.find_first_not_of(" \t");
    const auto last = rest.find_last_not_of(" \t\r");
    rest = first == std::string::npos ? std::string() : rest.substr(first, last - first + 1);
    if (rest.size() >= 2 && (rest.front() == '\'' || rest.front() == '"')) {
        const auto parts = SplitWords(rest);
        if (parts.size() == 1)
            return parts.front();
    }
    return rest;
}

THeadlessPlatform& Headless()
{
    auto* headless = dynamic_cast<THeadlessPlatform*>(&CurrentPlatform());
    if (!headless)
        throw EInvalidOperation("pointer and key commands need the headless platform");
    return *headless;
}

TCustomForm* FormOfWindow(TWindowId window)
{
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        if (Screen().Forms(i)->WindowId() == window)
            return Screen().Forms(i);
    return nullptr;
}

} // namespace

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (std::isspace(static_cast<unsigned char>(line[i]))) {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] == '\'' || line[i] == '"') {
            const char quote = line[i++];
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == quote) {
                    if (i + 1 < line.size() && line[i + 1] == quote) {
                        word += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                word += line[i++];
            }
            if (!closed)
                throw EConvertError("unterminated quote");
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                word += line[i++];
        }
        words.push_back(std::move(word));
    }
    return words;
}

TDesignerScript::TDesignerScript(TDesignerApp& app, std::ostream& out)
    : m_app(app)
    , m_out(out)
{
}

void TDesignerScript::Run(const std::string& text, const std::string& name)
{
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        try {
            RunLine(line);
        } catch (const std::exception& e) {
            throw Exception(name + ":" + std::to_string(number) + ": " + e.what());
        }
    }
}

void TDesignerScript::RunLine(const std::string& raw)
{
    std::string line = raw;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    const auto start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#')
        return;
    const std::vector<std::string> words = SplitWords(line);
    const std::string& command = words.front();
    const std::vector<std::string> args(words.begin() + 1, words.end());
    TFormDesigner& designer = m_app.Designer();
    auto component = [&](const std::string& name) -> TComponent& {
        TComponent* c = designer.FindComponent(name);
        if (!c)
            throw EComponentError("the form has no component " + name);
        return *c;
    };

    if (command == "package") {
        Package(args);
    } else if (command == "new") {
        Expect(args, 0, 2, "new [WIDTH HEIGHT]");
        if (args.size() == 1)
            throw EConvertError("usage: new [WIDTH HEIGHT]");
        designer.NewForm(args.empty() ? 400 : Number(args[0]), args.empty() ? 300 : Number(args[1]));
        designer.ShowForm(kFormPosition);
    } else if (command == "open") {
        Expect(args, 1, 1, "open FILE");
        designer.Open(args[0]);
        m_app.SetFormFile(args[0]);
    } else if (command == "save") {
        Expect(args, 0, 1, "save [FILE]");
        const std::string file = args.empty() ? m_app.FormFile() : args[0];
        designer.Save(file);
        m_app.SetFormFile(file);
    } else if (command == "drop") {
        if (args.size() != 3 && args.size() != 5)
            throw EConvertError("usage: drop CLASS X Y [W H]");
        std::optional<TSize> size;
        if (args.size() == 5)
            size = TSize { Number(args[3]), Number(args[4]) };
        TComponent& c = designer.Drop(args[0], { Number(args[1]), Number(args[2]) }, size);
        m_out << "dropped " << c.Name() << "\n";
    } else if (command == "select") {
        Expect(args, 1, 1, "select NAME|none");
        designer.Select(SameText(args[0], "none") ? nullptr : &component(args[0]));
    } else if (command == "set") {
        if (args.size() < 2)
            throw EConvertError("usage: set NAME.PROPERTY VALUE");
        const auto [name, path] = SplitTarget(args[0]);
        designer.SetProperty(component(name), path, RestOfLine(line, 2));
    } else if (command == "get") {
        Expect(args, 1, 1, "get NAME.PROPERTY");
        const auto [name, path] = SplitTarget(args[0]);
        m_out << args[0] << " = " << designer.PropertyValue(component(name), path) << "\n";
    } else if (command == "bounds") {
        Expect(args, 5, 5, "bounds NAME X Y W H");
        auto* control = dynamic_cast<TControl*>(&component(args[0]));
        if (!control)
            throw EComponentError(args[0] + " is not a control");
        designer.SetBounds(*control, Bounds(Number(args[1]), Number(args[2]), Number(args[3]), Number(args[4])));
    } else if (command == "delete") {
        Expect(args, 1, 1, "delete NAME");
        designer.Delete(component(args[0]));
    } else if (command == "verbs") {
        Expect(args, 1, 1, "verbs NAME");
        for (const std::string& verb : designer.Verbs(component(args[0])))
            m_out << verb << "\n";
    } else if (command == "verb") {
        if (args.size() < 2)
            throw EConvertError("usage: verb NAME INDEX|CAPTION");
        TComponent& c = component(args[0]);
        const std::string which = RestOfLine(line, 2);
        const std::vector<std::string> verbs = designer.Verbs(c);
        std::int32_t index = -1;
        for (std::size_t i = 0; i < verbs.size(); ++i)
            if (verbs[i] == which || StripAccelerator(verbs[i]) == which)
                index = static_cast<std::int32_t>(i);
        if (index < 0)
            index = Number(which);
        designer.ExecuteVerb(c, index);
    } else if (command == "edit") {
        Expect(args, 1, 1, "edit NAME");
        designer.Edit(component(args[0]));
    } else if (command == "dialog") {
        Expect(args, 1, 1, "dialog NAME.PROPERTY");
        const auto [name, path] = SplitTarget(args[0]);
        designer.EditProperty(component(name), path);
    } else if (command == "palette") {
        Expect(args, 0, 0, "palette");
        for (const std::string& page : PalettePages()) {
            m_out << page << ":";
            for (const TPaletteEntry& e : PaletteEntries(page))
                m_out << " " << e.Class->Name();
            m_out << "\n";
        }
    } else if (command == "properties") {
        Expect(args, 0, 1, "properties [NAME]");
        if (!args.empty())
            designer.Select(&component(args[0]));
        m_app.Inspector().Refresh();
        for (const TInspectorRow& row : m_app.Inspector().Rows())
            m_out << std::string(static_cast<std::size_t>(row.Level) * 2, ' ') << row.Name << " = " << row.Value << "\n";
    } else if (command == "expand" || command == "collapse") {
        Expect(args, 1, 1, "expand|collapse PATH");
        m_app.Inspector().Expand(args[0], command == "expand");
    } else if (command == "mouse") {
        Mouse(args);
    } else if (command == "click" || command == "double-click") {
        Click(args, command == "double-click");
    } else if (command == "type") {
        for (unsigned char c : RestOfLine(line, 1)) {
            TPlatformEvent e;
            e.kind = TPlatformEventKind::Char;
            e.key = c;
            Deliver(e);
        }
    } else if (command == "key") {
        Expect(args, 1, 1, "key enter|escape|back|up|down|delete");
        Key(args[0]);
    } else if (command == "screenshot") {
        Expect(args, 1, 1, "screenshot FILE");
        m_app.SaveScreenshot(args[0]);
    } else if (command == "form-view") {
        Expect(args, 1, 1, "form-view FILE");
        m_app.SaveFormView(args[0]);
    } else if (command == "status") {
        m_out << m_app.Status() << "\n";
    } else if (command == "print") {
        m_out << RestOfLine(line, 1) << "\n";
    } else {
        throw EConvertError("unknown command '" + command + "' (see plumex-designer --help)");
    }
    m_app.ProcessMessages();
}

void TDesignerScript::Package(const std::vector<std::string>& args)
{
    if (args.empty())
        throw EConvertError("usage: package load [FILE] | package unload NAME");
    if (args[0] == "load") {
        Expect(args, 1, 2, "package load [FILE]");
        std::string file = args.size() == 2 ? args[1] : TDesignerApp::DefaultPackageFile();
        if (file.empty())
            throw EPackageError("no package beside the program; name one: package load FILE");
        TPackage& package = m_app.LoadPackage(file);
        m_out << "loaded " << package.Name() << "\n";
    } else if (args[0] == "unload") {
        Expect(args, 2, 2, "package unload NAME");
        m_app.UnloadPackage(args[1]);
        m_out << "unloaded " << args[1] << "\n";
    } else {
        throw EConvertError("usage: package load [FILE] | package unload NAME");
    }
}

void TDesignerScript::Mouse(const std::vector<std::string>& args)
{
    Expect(args, 3, 4, "mouse down|up|move X Y [right]");
    const TPoint p { Number(args[1]), Number(args[2]) };
    const bool right = args.size() == 4 && args[3] == "right";
    if (args.size() == 4 && !right)
        throw EConvertError("usage: mouse down|up|move X Y [right]");
    const TPlatformButton button = right ? TPlatformButton::Right : TPlatformButton::Left;
    THeadlessPlatform& platform = Headless();
    if (args[0] == "down") {
        m_keyWindow = platform.WindowAt(p);
        platform.MouseDown(p, button);
    } else if (args[0] == "up") {
        platform.MouseUp(p, button);
    } else if (args[0] == "move") {
        platform.MouseMove(p);
    } else {
        throw EConvertError("usage: mouse down|up|move X Y [right]");
    }
    m_app.ProcessMessages();
}

void TDesignerScript::Click(const std::vector<std::string>& args, bool twice)
{
    Expect(args, 2, 3, "click X Y [right]");
    // Separate clicks are further apart in time than a double click.
    Application().AdvanceTime(1000);
    std::vector<std::string> down { "down", args[0], args[1] };
    std::vector<std::string> up { "up", args[0], args[1] };
    if (args.size() == 3) {
        down.push_back(args[2]);
        up.push_back(args[2]);
    }
    for (int n = 0; n < (twice ? 2 : 1); ++n) {
        Mouse(down);
        Mouse(up);
    }
}

void TDesignerScript::Key(const std::string& name)
{
    static const std::pair<const char*, std::uint32_t> keys[] = {
        { "enter", 13 }, { "escape", 27 }, { "back", 8 }, { "up", 38 }, { "down", 40 }, { "left", 37 }, { "right", 39 }, { "delete", 46 },
    };
    for (const auto& [keyName, code] : keys)
        if (SameText(name, keyName)) {
            TPlatformEvent e;
            e.kind = TPlatformEventKind::KeyDown;
            e.key = code;
            Deliver(e);
            return;
        }
    throw EConvertError("unknown key '" + name + "'");
}

void TDesignerScript::Deliver(TPlatformEvent event)
{
    // Keys go to the window clicked last, as focus follows the pointer's clicks.
    TCustomForm* form = FormOfWindow(m_keyWindow);
    if (!form)
        throw EInvalidOperation("no window to type into: click one first");
    event.window = m_keyWindow;
    form->HandleEvent(event);
    m_app.ProcessMessages();
}

} // namespace plx::designer
