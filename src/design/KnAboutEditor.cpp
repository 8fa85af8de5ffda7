#include "design/KnAboutEditor.h"

#include "color/host/Resources.h"
#include "design/detail/DialogForms.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/HeadlessPlatform.h"
#include "framework/host/StdCtrls.h"
#include "rtl/SysUtils.h"

#include <spawn.h>
#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <thread>

extern char** environ;

namespace plx {

namespace {

std::vector<std::string>& Recorded()
{
    static std::vector<std::string> links;
    return links;
}

bool StartsWithText(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// Only web and mail links are handed on, and nothing a program could read as
// more than one link.
bool IsOpenable(std::string_view target) noexcept
{
    bool known = false;
    for (std::string_view scheme : { "http:", "https:", "mailto:" })
        if (StartsWithText(target, scheme) && target.size() > scheme.size())
            known = true;
    if (!known)
        return false;
    for (char c : target)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    return true;
}

bool Headless()
{
    return dynamic_cast<THeadlessPlatform*>(&CurrentPlatform()) != nullptr;
}

// Starts xdg-open with target as its one argument, with the signal mask and
// the dispositions of the signals this process may have changed reset.
bool SpawnOpener(const std::string& target)
{
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return false;
    sigset_t none;
    sigset_t defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string program = "xdg-open";
    std::string argument = target;
    std::array<char*, 3> argv { program.data(), argument.data(), nullptr };
    pid_t child = 0;
    const int error = posix_spawnp(&child, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    // Reap the opener when it ends, without holding up the dialog.
    try {
        std::thread([child] {
            int status = 0;
            while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (...) {
        // No thread: the finished opener stays a zombie until this process ends.
    }
    return true;
}

} // namespace

TKnCmpAbout::TKnCmpAbout(TComponent* owner)
    : TForm(owner)
{
    RegisterHandler("FormCreate", TNotifyEvent([this](TObject* sender) { FormCreate(sender); }));
    RegisterHandler("Label1Click", TNotifyEvent([this](TObject* sender) { Label1Click(sender); }));
    RegisterHandler("Label2Click", TNotifyEvent([this](TObject* sender) { Label2Click(sender); }));
    detail::ReadDialogForm(*this, "TKnCmpAbout");
    DoCreate();
}

void TKnCmpAbout::FormCreate(TObject*)
{
    detail::DialogControl<TImage>(*this, "Image1").Picture().LoadFromResourceName(HInstance(), "MYFACE");
}

void TKnCmpAbout::Label1Click(TObject*)
{
    OpenCaption("Label1");
}

void TKnCmpAbout::Label2Click(TObject*)
{
    OpenCaption("Label2");
}

void TKnCmpAbout::OpenCaption(const std::string& labelName)
{
    if (auto* label = dynamic_cast<TLabel*>(FindComponent(labelName)))
        (void)OpenLink(label->Caption());
}

void ShowCmpAbout()
{
    auto* form = new TKnCmpAbout(&Application());
    const detail::TDialogScope scope(form);
    form->ShowModal();
}

bool OpenLink(std::string_view target) noexcept
{
    if (!IsOpenable(target))
        return false;
    try {
        if (Headless()) {
            Recorded().emplace_back(target);
            return true;
        }
        return SpawnOpener(std::string(target));
    } catch (...) {
        return false;
    }
}

std::vector<std::string> RecordedLinks()
{
    return Recorded();
}

void ClearRecordedLinks() noexcept
{
    Recorded().clear();
}

} // namespace plx
