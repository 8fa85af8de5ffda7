#include "framework/host/FormFiles.h"

#include "color/host/Bitmap.h"
#include "framework/host/Control.h"
#include "rtl/Exceptions.h"
#include "framework/host/Forms.h"
#include "rtl/StringList.h"
#include "rtl/Streams.h"
#include "rtl/SysUtils.h"
#include "rtl/TypInfo.h"
#include "framework/host/WinControl.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace plx {

namespace {

// ---- Writing -------------------------------------------------------------

std::string QuoteString(const std::string& s)
{
    if (s.empty())
        return "''";
    std::string out;
    bool inQuotes = false;
    for (unsigned char c : s) {
        if (c >= 32 && c < 127) {
            if (!inQuotes) {
                out += '\'';
                inQuotes = true;
            }
            if (c == '\'')
                out += "''";
            else
                out += static_cast<char>(c);
        } else {
            if (inQuotes) {
                out += '\'';
                inQuotes = false;
            }
            out += '#' + std::to_string(c);
        }
    }
    if (inQuotes)
        out += '\'';
    return out;
}

std::string FormatFloat(double v)
{
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string s(buffer, error == std::errc() ? end : buffer);
    if (s.find_first_of(".en") == std::string::npos)
        s += ".0";
    return s;
}

class Writer {
public:
    explicit Writer(const TComponent& root)
        : m_root(root)
    {
    }

    std::string Run()
    {
        WriteObject(m_root, 0);
        return m_out.str();
    }

private:
    void Line(int depth, const std::string& text) { m_out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << text << '\n'; }

    void WriteObject(const TComponent& c, int depth)
    {
        std::string header = "object " + (c.Name().empty() ? std::string() : c.Name() + ": ") + c.ClassType().Name();
        Line(depth, header);
        WriteProperties(c, c, "", depth + 1);
        for (const TComponent* child : Children(c))
            WriteObject(*child, depth + 1);
        Line(depth, "end");
    }

    // What is written inside an object: for the root, what it owns that is not
    // placed on another control; for a windowed control, its children that the
    // root owns. Each in creation (or z-) order.
    std::vector<const TComponent*> Children(const TComponent& c) const
    {
        std::vector<const TComponent*> out;
        if (&c == &m_root) {
            for (std::int32_t i = 0; i < m_root.ComponentCount(); ++i) {
                const TComponent* child = m_root.Components(i);
                auto* control = dynamic_cast<const TControl*>(child);
                if (!control || !control->Parent() || control->Parent() == &m_root)
                    out.push_back(child);
            }
            return out;
        }
        if (auto* w = dynamic_cast<const TWinControl*>(&c))
            for (std::int32_t i = 0; i < w->ControlCount(); ++i)
                if (w->Controls(i)->Owner() == &m_root)
                    out.push_back(w->Controls(i));
        return out;
    }

    void WriteProperties(const TPersistent& object, const TComponent& component, const std::string& prefix, int depth)
    {
        for (const TPropInfo& p : object.ClassType().Properties()) {
            if (!p.Stored(object))
                continue;
            const std::string name = prefix + p.Name;
            switch (p.Kind) {
            case TTypeKind::tkMethod: {
                std::string handler = component.EventBinding(name);
                if (!handler.empty())
                    Line(depth, name + " = " + handler);
                break;
            }
            case TTypeKind::tkClass:
                WriteClassProperty(p, object, component, name, depth);
                break;
            case TTypeKind::tkString: {
                std::string v = std::get<std::string>(p.Get(object));
                if (!v.empty() || p.WriteEmpty)
                    Line(depth, name + " = " + QuoteString(v));
                break;
            }
            case TTypeKind::tkFloat: {
                double v = std::get<double>(p.Get(object));
                if (v != 0.0)
                    Line(depth, name + " = " + FormatFloat(v));
                break;
            }
            default: {
                std::int64_t v = std::get<std::int64_t>(p.Get(object));
                if (p.Default && v == *p.Default)
                    break;
                Line(depth, name + " = " + OrdinalText(p, v));
                break;
            }
            }
        }
    }

    static std::string OrdinalText(const TPropInfo& p, std::int64_t v)
    {
        switch (p.Kind) {
        case TTypeKind::tkEnumeration:
            return p.EnumType ? p.EnumType->NameOf(v) : std::to_string(v);
        case TTypeKind::tkSet: {
            std::string s = "[";
            bool first = true;
            for (std::size_t bit = 0; bit < 32; ++bit)
                if (v & (std::int64_t { 1 } << bit)) {
                    if (!first)
                        s += ", ";
                    s += p.EnumType ? p.EnumType->NameOf(static_cast<std::int64_t>(bit)) : std::to_string(bit);
                    first = false;
                }
            return s + "]";
        }
        default:
            if (p.Idents)
                if (auto ident = p.Idents->IdentOf(v))
                    return *ident;
            return std::to_string(v);
        }
    }

    void WriteClassProperty(const TPropInfo& p, const TPersistent& object, const TComponent& component, const std::string& name, int depth)
    {
        if (p.GetReference) {
            const TComponent* target = p.GetReference(object);
            if (target && !target->Name().empty())
                Line(depth, name + " = " + target->Name());
            return;
        }
        if (!p.Object)
            return;
        const TPersistent* sub = p.Object(object);
        if (!sub)
            return;
        if (auto* bitmap = dynamic_cast<const TBitmap*>(sub)) {
            if (bitmap->Empty())
                return;
            TMemoryStream stream;
            bitmap->SaveToStream(stream);
            Line(depth, name + ".Data = {");
            static const char* digits = "0123456789ABCDEF";
            const auto& bytes = stream.Bytes();
            for (std::size_t i = 0; i < bytes.size(); i += 32) {
                std::string hex;
                for (std::size_t j = i; j < std::min(bytes.size(), i + 32); ++j) {
                    hex += digits[bytes[j] >> 4];
                    hex += digits[bytes[j] & 15];
                }
                if (i + 32 >= bytes.size())
                    hex += '}';
                Line(depth + 1, hex);
            }
            return;
        }
        if (auto* strings = dynamic_cast<const TStrings*>(sub)) {
            if (strings->Count() == 0)
                return;
            Line(depth, name + ".Strings = (");
            for (std::int32_t i = 0; i < strings->Count(); ++i)
                Line(depth + 1, QuoteString(strings->Strings(i)) + (i + 1 == strings->Count() ? ")" : ""));
            return;
        }
        WriteProperties(*sub, component, name + ".", depth);
    }

    const TComponent& m_root;
    std::ostringstream m_out;
};

// ---- Reading -------------------------------------------------------------

constexpr int kMaxDepth = 64;

[[noreturn]] void Fail(int line, const std::string& message)
{
    throw EReadError("Line " + std::to_string(line) + ": " + message);
}

enum class Tok { End, Ident, Integer, Float, String, Symbol, Binary };

struct Token {
    Tok kind { Tok::End };
    std::string text; //!< identifier, string value, symbol, or hex digits
    std::int64_t integer { 0 };
    double real { 0 };
    int line { 1 };
};

class Lexer {
public:
    explicit Lexer(const std::string& text)
        : m_text(text)
    {
    }

    Token Next()
    {
        SkipSpace();
        Token t;
        t.line = m_line;
        if (m_pos >= m_text.size())
            return t;
        char c = m_text[m_pos];
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t start = m_pos;
            while (m_pos < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '_' || m_text[m_pos] == '.'))
                ++m_pos;
            t.kind = Tok::Ident;
            t.text = m_text.substr(start, m_pos - start);
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || ((c == '-' || c == '+') && m_pos + 1 < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_pos + 1])) || m_text[m_pos + 1] == '$')))
            return Number(t);
        if (c == '$')
            return Number(t);
        if (c == '\'' || c == '#')
            return String(t);
        if (c == '{')
            return Binary(t);
        ++m_pos;
        t.kind = Tok::Symbol;
        t.text = std::string(1, c);
        return t;
    }

private:
    void SkipSpace()
    {
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == '\n') {
                ++m_line;
                ++m_pos;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++m_pos;
            } else if (c == '/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '/') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n')
                    ++m_pos;
            } else {
                break;
            }
        }
    }

    Token Number(Token t)
    {
        std::size_t start = m_pos;
        bool negative = false;
        if (m_text[m_pos] == '-' || m_text[m_pos] == '+') {
            negative = m_text[m_pos] == '-';
            ++m_pos;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '$') {
            ++m_pos;
            std::size_t digits = m_pos;
            while (m_pos < m_text.size() && std::isxdigit(static_cast<unsigned char>(m_text[m_pos])))
                ++m_pos;
            std::uint64_t v = 0;
            auto [end, error] = std::from_chars(m_text.data() + digits, m_text.data() + m_pos, v, 16);
            if (digits == m_pos || error != std::errc() || v > 0xFFFFFFFFull)
                Fail(t.line, "Invalid hexadecimal number");
            (void)end;
            t.kind = Tok::Integer;
            auto bits = static_cast<std::int64_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
            t.integer = negative ? -bits : bits;
            return t;
        }
        while (m_pos < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_pos])) || m_text[m_pos] == '.' || m_text[m_pos] == 'e'
                   || m_text[m_pos] == 'E' || ((m_text[m_pos] == '-' || m_text[m_pos] == '+') && (m_text[m_pos - 1] == 'e' || m_text[m_pos - 1] == 'E'))))
            ++m_pos;
        std::string_view s(m_text.data() + start, m_pos - start);
        if (s.find_first_of(".eE") == std::string_view::npos) {
            std::int64_t v = 0;
            auto [end, error] = std::from_chars(s.data() + (s.front() == '+' ? 1 : 0), s.data() + s.size(), v);
            if (error != std::errc() || end != s.data() + s.size())
                Fail(t.line, "Invalid number '" + std::string(s) + "'");
            t.kind = Tok::Integer;
            t.integer = v;
            return t;
        }
        double d = 0;
        auto [end, error] = std::from_chars(s.data() + (s.front() == '+' ? 1 : 0), s.data() + s.size(), d);
        if (error != std::errc() || end != s.data() + s.size())
            Fail(t.line, "Invalid number '" + std::string(s) + "'");
        t.kind = Tok::Float;
        t.real = d;
        return t;
    }

    Token String(Token t)
    {
        t.kind = Tok::String;
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos];
            if (c == '\'') {
                ++m_pos;
                for (;;) {
                    if (m_pos >= m_text.size() || m_text[m_pos] == '\n')
                        Fail(t.line, "Unterminated string");
                    if (m_text[m_pos] == '\'') {
                        if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\'') {
                            t.text += '\'';
                            m_pos += 2;
                            continue;
                        }
                        ++m_pos;
                        break;
                    }
                    t.text += m_text[m_pos++];
                }
            } else if (c == '#') {
                ++m_pos;
                std::size_t digits = m_pos;
                while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
                    ++m_pos;
                int code = 0;
                auto [end, error] = std::from_chars(m_text.data() + digits, m_text.data() + m_pos, code);
                (void)end;
                if (digits == m_pos || error != std::errc() || code > 255)
                    Fail(t.line, "Invalid character code");
                t.text += static_cast<char>(code);
            } else {
                break;
            }
        }
        return t;
    }

    Token Binary(Token t)
    {
        ++m_pos;
        t.kind = Tok::Binary;
        for (;;) {
            if (m_pos >= m_text.size())
                Fail(t.line, "Unterminated binary value");
            char c = m_text[m_pos++];
            if (c == '}')
                break;
            if (c == '\n')
                ++m_line;
            else if (std::isxdigit(static_cast<unsigned char>(c)))
                t.text += c;
            else if (c != ' ' && c != '\t' && c != '\r')
                Fail(m_line, "Invalid binary value");
        }
        if (t.text.size() % 2)
            Fail(t.line, "Odd number of digits in a binary value");
        return t;
    }

    const std::string& m_text;
    std::size_t m_pos { 0 };
    int m_line { 1 };
};

struct Value {
    Tok kind { Tok::End };
    std::string text;
    std::int64_t integer { 0 };
    double real { 0 };
    std::vector<std::string> set;
    bool isSet { false };
    std::vector<Value> list;
    bool isList { false };
    int line { 0 };
};

struct Property {
    std::string path;
    Value value;
    int line { 0 };
};

struct Object {
    std::string name;
    std::string className;
    std::vector<Property> properties;
    std::vector<Object> children;
    int line { 0 };
};

class Parser {
public:
    explicit Parser(const std::string& text)
        : m_lexer(text)
    {
        Advance();
    }

    Object ParseRoot()
    {
        Object root = ParseObject(0);
        if (m_token.kind != Tok::End)
            Fail(m_token.line, "Text after the end of the root object");
        return root;
    }

private:
    void Advance() { m_token = m_lexer.Next(); }

    bool IsKeyword(const char* word) const { return m_token.kind == Tok::Ident && SameText(m_token.text, word); }

    Object ParseObject(int depth)
    {
        if (depth > kMaxDepth)
            Fail(m_token.line, "Objects nested too deeply");
        if (!IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("inline"))
            Fail(m_token.line, "'object' expected");
        Object o;
        o.line = m_token.line;
        Advance();
        if (m_token.kind != Tok::Ident)
            Fail(m_token.line, "Class name expected");
        std::string first = m_token.text;
        Advance();
        if (m_token.kind == Tok::Symbol && m_token.text == ":") {
            Advance();
            if (m_token.kind != Tok::Ident)
                Fail(m_token.line, "Class name expected");
            o.name = first;
            o.className = m_token.text;
            Advance();
        } else {
            o.className = first;
        }
        for (;;) {
            if (m_token.kind == Tok::End)
                Fail(m_token.line, "'end' expected");
            if (IsKeyword("end")) {
                Advance();
                return o;
            }
            if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
                o.children.push_back(ParseObject(depth + 1));
                continue;
            }
            if (m_token.kind != Tok::Ident)
                Fail(m_token.line, "Property name expected");
            Property p;
            p.path = m_token.text;
            p.line = m_token.line;
            Advance();
            if (!(m_token.kind == Tok::Symbol && m_token.text == "="))
                Fail(m_token.line, "'=' expected after " + p.path);
            Advance();
            p.value = ParseValue(0);
            o.properties.push_back(std::move(p));
        }
    }

    Value ParseValue(int depth)
    {
        if (depth > kMaxDepth)
            Fail(m_token.line, "Values nested too deeply");
        Value v;
        v.line = m_token.line;
        v.kind = m_token.kind;
        switch (m_token.kind) {
        case Tok::Integer:
            v.integer = m_token.integer;
            Advance();
            return v;
        case Tok::Float:
            v.real = m_token.real;
            Advance();
            return v;
        case Tok::Ident:
        case Tok::Binary:
            v.text = m_token.text;
            Advance();
            return v;
        case Tok::String:
            v.text = m_token.text;
            Advance();
            // Long strings continue after a "+".
            while (m_token.kind == Tok::Symbol && m_token.text == "+") {
                Advance();
                if (m_token.kind != Tok::String)
                    Fail(m_token.line, "String expected after '+'");
                v.text += m_token.text;
                Advance();
            }
            return v;
        case Tok::Symbol:
            if (m_token.text == "[") {
                v.isSet = true;
                Advance();
                while (!(m_token.kind == Tok::Symbol && m_token.text == "]")) {
                    if (m_token.kind != Tok::Ident)
                        Fail(m_token.line, "Set element expected");
                    v.set.push_back(m_token.text);
                    Advance();
                    if (m_token.kind == Tok::Symbol && m_token.text == ",")
                        Advance();
                    else if (!(m_token.kind == Tok::Symbol && m_token.text == "]"))
                        Fail(m_token.line, "',' or ']' expected");
                }
                Advance();
                return v;
            }
            if (m_token.text == "(") {
                v.isList = true;
                Advance();
                while (!(m_token.kind == Tok::Symbol && m_token.text == ")")) {
                    if (m_token.kind == Tok::End)
                        Fail(v.line, "')' expected");
                    v.list.push_back(ParseValue(depth + 1));
                }
                Advance();
                return v;
            }
            [[fallthrough]];
        default:
            Fail(m_token.line, m_token.kind == Tok::End ? "Value expected" : "Invalid value '" + m_token.text + "'");
        }
    }

    Lexer m_lexer;
    Token m_token;
};

struct Fixup {
    TComponent* component;
    const TPropInfo* property;
    TPersistent* object;
    std::string name;
    int line;
};

class Reader {
public:
    Reader(TComponent& root, bool rootCreated, const TFormReadOptions& options)
        : m_root(root)
        , m_rootCreated(rootCreated)
        , m_options(options)
    {
    }

    void Run(const Object& tree)
    {
        m_root.Loading();
        m_read.push_back(&m_root);
        if (!tree.name.empty())
            SetName(m_root, tree.name, tree.line);
        ApplyObject(tree, m_root);
        for (const Fixup& f : m_fixups) {
            TComponent* target = SameText(f.name, m_root.Name()) ? &m_root : m_root.FindComponent(f.name);
            if (!target)
                Fail(f.line, "Component " + f.name + " not found");
            f.property->SetReference(*f.object, target);
        }
        // A component's Loaded may free others that were read: each is checked first.
        const auto read = WeakSnapshot(m_read);
        for (const TWeakRef<TComponent>& c : read)
            if (c)
                c->Loaded();
        // Each parent puts what was read into it in the stored tab order, once.
        std::vector<TWinControl*> parents;
        std::unordered_set<TWinControl*> seen;
        for (const TWeakRef<TComponent>& c : read)
            if (auto* w = dynamic_cast<TWinControl*>(c.Get()); w && w->Parent() && seen.insert(w->Parent()).second)
                parents.push_back(w->Parent());
        for (TWinControl* parent : parents)
            parent->FixupTabList();
    }

    //! Frees what this reader created (the root itself is the caller's).
    void Abandon() noexcept
    {
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it)
            delete *it;
        m_created.clear();
        if (!m_rootCreated)
            m_root.Loaded();
    }

private:
    void SetName(TComponent& c, const std::string& name, int line)
    {
        try {
            c.SetName(name);
        } catch (const Exception& e) {
            Fail(line, e.Message());
        }
    }

    void ApplyObject(const Object& o, TComponent& component)
    {
        for (const Property& p : o.properties)
            ApplyProperty(component, p);
        for (const Object& child : o.children)
            CreateChild(child, component);
    }

    void CreateChild(const Object& o, TComponent& enclosing)
    {
        const TClassInfo* info = FindClass(o.className);
        if (!info || !info->Creator())
            Fail(o.line, "Class " + o.className + " not found");
        TComponent* c = info->Creator()(&m_root);
        m_created.push_back(c);
        c->Loading();
        m_read.push_back(c);
        if (!o.name.empty())
            SetName(*c, o.name, o.line);
        if (auto* control = dynamic_cast<TControl*>(c)) {
            auto* parent = dynamic_cast<TWinControl*>(&enclosing);
            if (!parent)
                Fail(o.line, "Control " + o.name + " cannot be placed on " + (enclosing.Name().empty() ? enclosing.ClassName() : enclosing.Name()));
            control->SetParent(parent);
        }
        ApplyObject(o, *c);
    }

    void ApplyProperty(TComponent& component, const Property& prop)
    {
        // Walk the dotted path through sub-objects (Gradient.Color1, Font.Name).
        std::vector<std::string> parts;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= prop.path.size(); ++i)
            if (i == prop.path.size() || prop.path[i] == '.') {
                parts.push_back(prop.path.substr(start, i - start));
                start = i + 1;
            }
        TPersistent* object = &component;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            const TPropInfo* p = object->ClassType().FindProperty(parts[i]);
            if (!p || p->Kind != TTypeKind::tkClass || !p->Object)
                Fail(prop.line, "Property " + JoinTo(parts, i) + " does not exist");
            object = p->Object(*object);
            if (!object)
                Fail(prop.line, "Property " + JoinTo(parts, i) + " has no value");
        }
        const std::string& last = parts.back();
        if (auto* bitmap = dynamic_cast<TBitmap*>(object); bitmap && SameText(last, "Data")) {
            ReadBitmap(*bitmap, prop);
            return;
        }
        if (auto* strings = dynamic_cast<TStrings*>(object); strings && SameText(last, "Strings")) {
            if (!prop.value.isList)
                Fail(prop.line, "List of strings expected for " + prop.path);
            strings->Clear();
            for (const Value& v : prop.value.list) {
                if (v.kind != Tok::String)
                    Fail(v.line, "String expected in " + prop.path);
                strings->Add(v.text);
            }
            return;
        }
        const TPropInfo* p = object->ClassType().FindProperty(last);
        if (!p)
            Fail(prop.line, "Property " + prop.path + " does not exist");
        SetValue(component, *object, *p, prop);
    }

    static std::string JoinTo(const std::vector<std::string>& parts, std::size_t last)
    {
        std::string s;
        for (std::size_t i = 0; i <= last; ++i)
            s += (i ? "." : "") + parts[i];
        return s;
    }

    void ReadBitmap(TBitmap& bitmap, const Property& prop)
    {
        if (prop.value.kind != Tok::Binary || prop.value.isList || prop.value.isSet)
            Fail(prop.line, "Binary value expected for " + prop.path);
        TMemoryStream stream;
        const std::string& hex = prop.value.text;
        std::vector<std::uint8_t> bytes(hex.size() / 2);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
        stream.SetPosition(0);
        try {
            bitmap.LoadFromStream(stream);
        } catch (const Exception& e) {
            Fail(prop.line, prop.path + ": " + e.Message());
        }
    }

    // Sets one property from its value; a setter's own error (a value it
    // refuses) is reported with the line like the reader's.
    void SetValue(TComponent& component, TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        try {
            switch (p.Kind) {
            case TTypeKind::tkMethod:
                SetEvent(component, object, p, prop);
                return;
            case TTypeKind::tkClass:
                SetReference(component, object, p, prop);
                return;
            case TTypeKind::tkString:
                if (prop.value.kind != Tok::String)
                    Invalid(prop);
                p.Set(object, prop.value.text);
                return;
            case TTypeKind::tkFloat:
                SetFloat(object, p, prop);
                return;
            case TTypeKind::tkSet:
                SetSet(object, p, prop);
                return;
            case TTypeKind::tkEnumeration:
                SetEnumeration(object, p, prop);
                return;
            default:
                SetOrdinal(object, p, prop);
                return;
            }
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            Fail(prop.line, prop.path + ": " + e.Message());
        }
    }

    [[noreturn]] static void Invalid(const Property& prop)
    {
        Fail(prop.line, "Invalid property value for " + prop.path);
    }

    static bool IsPlain(const Value& v) noexcept { return !v.isSet && !v.isList; }

    // Events are bound by name through the form's handler table.
    void SetEvent(TComponent& component, TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        const Value& v = prop.value;
        if (v.kind != Tok::Ident || !IsPlain(v))
            Invalid(prop);
        component.SetEventBinding(prop.path, v.text);
        auto* form = dynamic_cast<TCustomForm*>(&m_root);
        const std::any* handler = form ? form->FindHandler(v.text) : nullptr;
        if (!handler) {
            if (m_options.strictHandlers)
                Fail(prop.line, "Handler " + v.text + " not found");
            return;
        }
        if (std::type_index(handler->type()) != p.HandlerType)
            Fail(prop.line, "Handler " + v.text + " does not fit " + prop.path + " (" + p.TypeName + ")");
        p.Bind(object, *handler);
    }

    // References are resolved once the whole file is read.
    void SetReference(TComponent& component, TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        const Value& v = prop.value;
        if (!p.SetReference || v.kind != Tok::Ident || !IsPlain(v))
            Invalid(prop);
        m_fixups.push_back({ &component, &p, &object, v.text, prop.line });
    }

    static void SetFloat(TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        const Value& v = prop.value;
        if (v.kind == Tok::Integer)
            p.Set(object, static_cast<double>(v.integer));
        else if (v.kind == Tok::Float)
            p.Set(object, v.real);
        else
            Invalid(prop);
    }

    static void SetSet(TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        if (!prop.value.isSet || !p.EnumType)
            Invalid(prop);
        std::int64_t bits = 0;
        for (const std::string& name : prop.value.set) {
            auto ordinal = p.EnumType->ValueOf(name);
            if (!ordinal || *ordinal >= 32)
                Fail(prop.line, "'" + name + "' is not a value of " + p.EnumType->TypeName);
            bits |= std::int64_t { 1 } << *ordinal;
        }
        p.Set(object, bits);
    }

    static void SetEnumeration(TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        const Value& v = prop.value;
        if (v.kind != Tok::Ident || !IsPlain(v) || !p.EnumType)
            Invalid(prop);
        auto ordinal = p.EnumType->ValueOf(v.text);
        if (!ordinal)
            Fail(prop.line, "'" + v.text + "' is not a value of " + p.EnumType->TypeName);
        p.Set(object, *ordinal);
    }

    // Integers, and identifiers of integers (clBtnFace, crHandPoint).
    static void SetOrdinal(TPersistent& object, const TPropInfo& p, const Property& prop)
    {
        const Value& v = prop.value;
        std::int64_t value = 0;
        if (v.kind == Tok::Integer && IsPlain(v)) {
            value = v.integer;
        } else if (v.kind == Tok::Ident && p.Idents && IsPlain(v)) {
            auto known = p.Idents->ValueOf(v.text);
            if (!known)
                Fail(prop.line, "'" + v.text + "' is not a valid value for " + prop.path);
            value = *known;
        } else {
            Invalid(prop);
        }
        if (value < INT32_MIN || value > static_cast<std::int64_t>(UINT32_MAX))
            Fail(prop.line, "Value out of range for " + prop.path);
        p.Set(object, value);
    }

    TComponent& m_root;
    bool m_rootCreated;
    const TFormReadOptions& m_options;
    std::vector<TComponent*> m_created;
    std::vector<TComponent*> m_read;
    std::vector<Fixup> m_fixups;
};

} // namespace

std::string WriteComponentText(const TComponent& root)
{
    return Writer(root).Run();
}

void ReadComponentText(const std::string& text, TComponent& root, const TFormReadOptions& options)
{
    Object tree = Parser(text).ParseRoot();
    Reader reader(root, false, options);
    try {
        reader.Run(tree);
    } catch (...) {
        reader.Abandon();
        throw;
    }
}

TComponent* ReadComponentFromText(const std::string& text, TComponent* owner, const TFormReadOptions& options)
{
    Object tree = Parser(text).ParseRoot();
    const TClassInfo* info = FindClass(tree.className);
    if ((!info || !info->Creator()) && options.unknownRootAsForm)
        info = FindClass("TForm");
    if (!info || !info->Creator())
        Fail(tree.line, "Class " + tree.className + " not found");
    TComponent* root = info->Creator()(owner);
    Reader reader(*root, true, options);
    try {
        reader.Run(tree);
    } catch (...) {
        reader.Abandon();
        delete root;
        throw;
    }
    if (auto* form = dynamic_cast<TCustomForm*>(root))
        form->DoCreate();
    return root;
}

void SaveFormFile(const TComponent& root, const std::string& fileName)
{
    std::string text = WriteComponentText(root);
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

TComponent* LoadFormFile(const std::string& fileName, TComponent* owner, const TFormReadOptions& options)
{
    TMemoryStream stream;
    stream.LoadFromFile(fileName);
    std::string text(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
    return ReadComponentFromText(text, owner, options);
}

} // namespace plx
