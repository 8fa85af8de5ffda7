#include "rtl/Persistent.h"

#include "rtl/Exceptions.h"
#include "rtl/TypInfo.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace plx {

std::string ClassNameOf(const std::type_info& type)
{
    const char* mangled = type.name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // Drop namespaces (and template arguments never occur in host class names).
    if (auto pos = name.rfind("::"); pos != std::string::npos)
        name.erase(0, pos + 2);
    return name;
}

std::string TObject::ClassName() const
{
    return ClassNameOf(typeid(*this));
}

void TPersistent::Assign(const TPersistent* source)
{
    if (!source)
        AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const
{
    dest->AssignError(this);
}

void TPersistent::AssignError(const TPersistent* source) const
{
    std::string sourceName = source ? source->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

const TClassInfo& TPersistent::StaticClassInfo()
{
    static const TClassInfo info = TClassInfoBuilder<TPersistent>("TPersistent", nullptr).Build();
    return info;
}

const TClassInfo& TPersistent::ClassType() const
{
    return StaticClassInfo();
}

void TDescription::Changed()
{
    // The handler may replace itself or free this description: it runs from a
    // copy, and nothing of this object is touched after it.
    const TNotifyEvent handler = m_onChange;
    if (handler)
        handler(this);
}

} // namespace plx
