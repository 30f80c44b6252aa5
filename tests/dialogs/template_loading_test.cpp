// Templates come from the resources embedded at build time, read as Windows reads them.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "platform/portable/ui/dialog_template.h"
#include "platform/portable/ui/embedded_resources.h"

namespace corvant::testing {
namespace {

using ui::DialogTemplate;

TEST(TemplateLoading, ExtendedTemplateKeepsEveryField) {
    DialogTemplate t;
    ASSERT_TRUE(ui::loadDialogTemplate(MAKEINTRESOURCE(IDD_CONTROLS), t));
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.style & (DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT),
              static_cast<DWORD>(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT));
    EXPECT_EQ(t.exStyle & WS_EX_CLIENTEDGE, static_cast<DWORD>(WS_EX_CLIENTEDGE));
    EXPECT_EQ(t.x, 10);
    EXPECT_EQ(t.y, 20);
    EXPECT_EQ(t.cx, 200);
    EXPECT_EQ(t.cy, 120);
    EXPECT_EQ(t.title, "Controls under test");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_EQ(t.weight, 700);
    EXPECT_EQ(t.italic, 1);
    EXPECT_EQ(t.typeface, "MS Sans Serif");
    ASSERT_EQ(t.controls.size(), 9u);

    const ui::DialogControlTemplate &first = t.controls[0];
    EXPECT_EQ(first.className, "Button");
    EXPECT_EQ(first.text.name, "&First");
    EXPECT_EQ(first.id, static_cast<DWORD>(IDC_FIRST));
    EXPECT_EQ(first.style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTORADIOBUTTON));
    EXPECT_TRUE(first.style & WS_GROUP);
    EXPECT_TRUE(first.style & WS_TABSTOP);
    EXPECT_EQ(first.x, 10);
    EXPECT_EQ(first.y, 10);
    EXPECT_EQ(first.cx, 60);
    EXPECT_EQ(first.cy, 10);

    EXPECT_TRUE(t.controls[3].style & WS_DISABLED);
    const ui::DialogControlTemplate &label = t.controls[7];
    EXPECT_EQ(label.className, "Static");
    EXPECT_EQ(label.id, 0xFFFFFFFFu);
    EXPECT_EQ(label.text.name, "&Label:\tafter a tab\nsecond line");
}

TEST(TemplateLoading, PlainTemplateIsReadToo) {
    DialogTemplate t;
    ASSERT_TRUE(ui::loadDialogTemplate(MAKEINTRESOURCE(IDD_PLAIN), t));
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.x, 5);
    EXPECT_EQ(t.y, 6);
    EXPECT_EQ(t.cx, 100);
    EXPECT_EQ(t.cy, 40);
    EXPECT_EQ(t.title, "Plain template");
    EXPECT_EQ(t.typeface, "MS Sans Serif");
    ASSERT_EQ(t.controls.size(), 1u);
    EXPECT_EQ(t.controls[0].className, "Button");
    EXPECT_EQ(t.controls[0].id, static_cast<DWORD>(IDC_PLAIN_BUTTON));
    EXPECT_EQ(t.controls[0].text.name, "&Plain");
    EXPECT_EQ(t.controls[0].cx, 40);
}

TEST(TemplateLoading, PlainTemplateRunsAsADialog) {
    ScriptedScreen screen;
    typeKeys("{A-p}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDC_PLAIN_BUTTON});
    EXPECT_EQ(runRecordingDialog(IDD_PLAIN, dialog), IDC_PLAIN_BUTTON);
}

TEST(TemplateLoading, MissingTemplateFailsWithMinusOne) {
    ScriptedScreen screen;
    RecordingDialog dialog;
    EXPECT_EQ(runRecordingDialog(299, dialog), -1);
    EXPECT_EQ(dialog.window, nullptr) << "no procedure may run for a template that does not exist";
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), "NO_SUCH_DIALOG", GetDesktopWindow(), nullptr, 0), -1);
}

// Every cut-off prefix of a real template must be refused, never read past its end.
TEST(TemplateLoading, TruncatedTemplatesAreRefused) {
    for (int id : {IDD_CONTROLS, IDD_PLAIN}) {
        ui::ResourceData resource;
        ASSERT_TRUE(ui::findEmbeddedResource(ui::resourceTypeDialog, MAKEINTRESOURCE(id), resource));
        std::vector<BYTE> copy(resource.data, resource.data + resource.size);
        DialogTemplate parsed;
        ASSERT_TRUE(ui::parseDialogTemplate(copy.data(), copy.size(), parsed));
        // The last control may lose its alignment padding; anything shorter cuts into a field.
        for (size_t length = 0; length + 2 < copy.size(); ++length) {
            std::vector<BYTE> prefix(copy.begin(), copy.begin() + static_cast<long>(length));
            EXPECT_FALSE(ui::parseDialogTemplate(prefix.data(), prefix.size(), parsed)) << "length " << length;
        }
    }
}

}  // namespace
}  // namespace corvant::testing
