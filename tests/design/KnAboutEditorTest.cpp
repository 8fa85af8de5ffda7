#include "design/KnAboutEditor.h"

#include "color/host/Bitmap.h"
#include "color/host/Resources.h"
#include "framework/host/Buttons.h"
#include "framework/host/ExtCtrls.h"
#include "framework/host/StdCtrls.h"
#include "DialogTests.h"
#include "TestForms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace plx;
using test::Answer;
using test::ClickOn;
using test::Find;
using test::Headless;

namespace {

constexpr const char* kCaption = "About Plumex";

TEST(KnAboutEditor, TheBoxShowsThePackagesPictureAndOpensItsLinksUntilClosed)
{
    ClearRecordedLinks();
    bool shown = false;
    Answer(kCaption, [&](TCustomForm& form) {
        shown = true;
        EXPECT_EQ(form.ClientWidth(), 386);
        EXPECT_EQ(form.ClientHeight(), 156);
        EXPECT_EQ(form.Font().Name(), "Arial");
        // Image1 shows "MYFACE", sized to it, inside the lowered panel.
        auto& image = Find<TImage>(form, "Image1");
        TBitmap face;
        face.LoadFromResourceName(HInstance(), "MYFACE");
        EXPECT_EQ(image.Width(), face.Width());
        EXPECT_EQ(image.Height(), face.Height());
        TBitmap picture;
        form.RenderTo(picture);
        const TPoint at = form.ScreenToClient(image.ClientToScreen({ 0, 0 }));
        EXPECT_EQ(test::FirstDifference(picture, at, face, { 0, 0 }, face.Width(), face.Height()), "");
        auto& web = Find<TLabel>(form, "Label1");
        auto& mail = Find<TLabel>(form, "Label2");
        EXPECT_EQ(web.Font().Color(), clBlue);
        EXPECT_TRUE(web.Font().Style().Contains(fsUnderline));
        EXPECT_TRUE(mail.Font().Style().Contains(fsUnderline));
        ClickOn(web);
        ClickOn(mail);
        EXPECT_TRUE(form.Visible()) << "the box stays open";
        EXPECT_EQ(RecordedLinks(), (std::vector<std::string> { web.Caption(), mail.Caption() }));
        EXPECT_EQ(Find<TBitBtn>(form, "BitBtn1").Caption(), "&Close");
        ClickOn(Find<TBitBtn>(form, "BitBtn1"));
    });
    ShowCmpAbout();
    EXPECT_TRUE(shown);
    const auto links = RecordedLinks();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].rfind("https://", 0), 0u) << links[0];
    EXPECT_EQ(links[1].rfind("mailto:", 0), 0u) << links[1];
    ClearRecordedLinks();
    EXPECT_TRUE(RecordedLinks().empty());
}

TEST(KnAboutEditor, OnlyWebAndMailLinksAreOpened)
{
    ClearRecordedLinks();
    EXPECT_TRUE(OpenLink("http://example.org/a b"));
    EXPECT_TRUE(OpenLink("HTTPS://example.org"));
    EXPECT_TRUE(OpenLink("mailto:someone@example.org"));
    for (const char* refused : { "", "http:", "file:///etc/passwd", "javascript:alert(1)", "-h", "ftp://example.org",
             "https://example.org/\nsecond", "/usr/bin/xterm", "example.org" })
        EXPECT_FALSE(OpenLink(refused)) << refused;
    EXPECT_EQ(RecordedLinks().size(), 3u);
    ClearRecordedLinks();
}

TEST(KnAboutEditor, ABoxReleasedByItsOwnHandlerIsFreedOnce)
{
    Answer(kCaption, [](TCustomForm& form) { form.Release(); });
    ShowCmpAbout();
    Application().ProcessMessages();
    for (std::int32_t i = 0; i < Screen().FormCount(); ++i)
        EXPECT_NE(Screen().Forms(i)->Caption(), kCaption);
}

} // namespace
