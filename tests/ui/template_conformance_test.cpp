// Every dialog template, control by control, as the program carries it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/ui/dialog_template.h"
#include "tests/ui/program_resources.h"

namespace corvant::testing {
namespace {

// Window, dialog and control styles, with Windows' values.
constexpr uint32_t popup = 0x80000000, child = 0x40000000, minimizeBox = 0x00020000, visible = 0x10000000,
                   disabled = 0x08000000, caption = 0x00C00000, border = 0x00800000, vScroll = 0x00200000,
                   hScroll = 0x00100000, sysMenu = 0x00080000, thickFrame = 0x00040000, group = 0x00020000,
                   tabStop = 0x00010000, maximizeBox = 0x00010000;
constexpr uint32_t modalFrame = 0x80, setFont = 0x40, center = 0x800;
constexpr uint32_t pushButton = 0x0, defPushButton = 0x1, autoCheckBox = 0x3, autoRadioButton = 0x9, groupBox = 0x7;
constexpr uint32_t leftText = 0x0;
constexpr uint32_t lbsNotify = 0x1, lbsSort = 0x2, lbsNoIntegralHeight = 0x100, lbsDisableNoScroll = 0x1000;

struct ExpectedControl {
    int id;
    const char *className;
    std::string text;
    int x, y, cx, cy;
    uint32_t style;  // besides WS_CHILD | WS_VISIBLE, which every control has
};

struct ExpectedDialog {
    int resource;
    std::string title;
    int cx, cy;
    uint32_t style;  // besides DS_SETFONT, which goes with the font
    std::vector<ExpectedControl> controls;
};

const ExpectedDialog mainDialog{
    101,
    "Corvant 1.2 by Fernhollow Software",
    231,
    194,
    popup | caption | sysMenu | minimizeBox | center,
    {
        {1000, "Button", "Netscape", 15, 48, 47, 10, autoRadioButton | group | tabStop},
        {1001, "Button", "Internet Explorer", 15, 60, 67, 10, autoRadioButton | tabStop},
        {1002, "Button", "Other browsers", 15, 72, 63, 10, autoRadioButton | tabStop},
        {1011, "Button", "&Preferences", 29, 106, 50, 14, pushButton | group | tabStop},
        {1003, "Button", "&Specify location...", 18, 167, 74, 14, pushButton | tabStop},
        {1004, "Button", "&example.com", 132, 68, 74, 14, pushButton | tabStop},
        {2, "Button", "E&xit", 174, 173, 50, 14, pushButton | tabStop},
        {-1, "Static",
         "This utility sets your system's default browser (the program that is automatically "
         "launched to view internet content). Corvant modifies everything involved: .htm, .html, "
         "ftp, gopher, http, https",
         7, 7, 202, 27, leftText | group},
        {-1, "Button", "Step 1 - Browser type", 7, 36, 95, 51, groupBox},
        {-1, "Button", "Test default browser", 114, 36, 108, 51, groupBox},
        {-1, "Static", "Click button to launch the default browser.", 124, 48, 90, 18, leftText | group},
        {-1, "Static",
         "Step 1: Select browser type\nStep 2: Optionally set preferences\nStep 3: Locate "
         "browser.exe",
         116, 93, 108, 26, leftText | group},
        {-1, "Static",
         "Corvant 1.2\nFernhollow Software\n\nE-mail:\tcorvant@example.com\nWeb:\thttp://"
         "example.com/",
         115, 124, 109, 44, leftText | group},
        {-1, "Button", "Step 3 - Browser's EXE", 7, 134, 95, 53, groupBox},
        {-1, "Button", "Step 2 (optional)", 7, 94, 95, 32, groupBox},
        {1005, "Button", "&Auto find", 18, 147, 74, 14, pushButton | tabStop},
    }};

const ExpectedDialog preferencesDialog{
    103,
    "Corvant - Preferences",
    181,
    105,
    modalFrame | center | popup | caption | sysMenu,
    {
        {1, "Button", "OK", 124, 76, 50, 14, defPushButton | tabStop},
        {1004, "Button", "http (hypertext transfer protocol)", 7, 43, 115, 10, autoCheckBox | tabStop},
        {1005, "Button", "https (secure HTTP)", 7, 56, 80, 10, autoCheckBox | tabStop},
        {1006, "Button", "gopher", 7, 69, 38, 10, autoCheckBox | tabStop},
        {1007, "Button", "ftp (file transfer protocol)", 7, 82, 91, 10, autoCheckBox | tabStop},
        {-1, "Static", "Corvant will modify the following registered names in the system registry:", 7, 7, 167, 18,
         leftText | group},
        {1009, "Button", "htmlfile - (hypertext markup language)", 7, 30, 133, 10, autoCheckBox | tabStop},
    }};

const ExpectedDialog autoFindDialog{
    104,
    "Auto find web browser",
    228,
    146,
    modalFrame | center | popup | caption | sysMenu,
    {
        {1012, "Button", "&Start", 7, 125, 50, 14, pushButton | tabStop},
        {2, "Button", "Cancel", 171, 125, 50, 14, pushButton | tabStop},
        {1013, "Button", "&Accept", 67, 125, 50, 14, pushButton | tabStop},
        {1015, "ListBox", "", 7, 29, 214, 90,
         lbsSort | lbsNotify | border | vScroll | hScroll | lbsDisableNoScroll | lbsNoIntegralHeight | tabStop},
        {-1, "Static",
         "List of potential web browsers found (click Start to search). After search, click "
         "Accept (if you don't hilight any, first is taken).",
         7, 7, 214, 18, leftText | group},
    }};

DialogTemplate loadDialog(int resource) {
    auto bytes = programResource(resourceTypeDialog, resource);
    if (!bytes) {
        ADD_FAILURE() << "dialog " << resource << " is missing";
        return {};
    }
    auto dialog = parseDialogTemplate(*bytes);
    if (!dialog) {
        ADD_FAILURE() << "dialog " << resource << " is not a well-formed DLGTEMPLATEEX";
        return {};
    }
    return *dialog;
}

void expectConforms(const ExpectedDialog &expected) {
    SCOPED_TRACE("dialog " + std::to_string(expected.resource));
    DialogTemplate dialog = loadDialog(expected.resource);
    EXPECT_EQ(dialog.title, expected.title);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, expected.cx);
    EXPECT_EQ(dialog.cy, expected.cy);
    EXPECT_EQ(dialog.style, expected.style | setFont) << std::hex << dialog.style;
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.menu, "");
    EXPECT_EQ(dialog.className, "");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.fontName, "MS Sans Serif");
    EXPECT_FALSE(dialog.italic);

    ASSERT_EQ(dialog.controls.size(), expected.controls.size());
    for (size_t i = 0; i < expected.controls.size(); ++i) {
        const ExpectedControl &want = expected.controls[i];
        const DialogControlTemplate &got = dialog.controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (" + want.text.substr(0, 24) + ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.style, want.style | child | visible) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_TRUE(got.creationData.empty());
    }
}

TEST(DialogTemplates, MainDialogMatchesItsLayout) { expectConforms(mainDialog); }

TEST(DialogTemplates, PreferencesDialogMatchesItsLayout) { expectConforms(preferencesDialog); }

TEST(DialogTemplates, AutoFindDialogMatchesItsLayout) { expectConforms(autoFindDialog); }

// Properties that the layout tables state only implicitly.
TEST(DialogTemplates, DefaultButtonsFramesAndGroups) {
    DialogTemplate main = loadDialog(101);
    DialogTemplate autoFind = loadDialog(104);
    for (const DialogTemplate *dialog : {&main, &autoFind}) {
        for (const auto &control : dialog->controls) {
            if (control.className == "Button") {
                EXPECT_NE(control.style & 0xF, defPushButton) << control.text;
            }
            EXPECT_EQ(control.style & disabled, 0u) << control.text;
        }
    }
    // A fixed-size main window with an ordinary caption frame.
    EXPECT_EQ(main.style & (modalFrame | thickFrame | maximizeBox), 0u);

    // The radio group runs from "Netscape" up to the next control that starts a group.
    ASSERT_GE(main.controls.size(), 4u);
    EXPECT_TRUE(main.controls[0].style & group);
    EXPECT_FALSE(main.controls[1].style & group);
    EXPECT_FALSE(main.controls[2].style & group);
    EXPECT_NE(main.controls[3].style & 0xF, autoRadioButton);
    EXPECT_TRUE(main.controls[3].style & group);
}

// Little-endian fields of an icon directory (NEWHEADER + GRPICONDIRENTRY).
uint32_t field(const std::vector<uint8_t> &bytes, size_t offset, size_t width) {
    uint32_t value = 0;
    for (size_t i = 0; i < width && offset + i < bytes.size(); ++i) {
        value |= uint32_t(bytes[offset + i]) << (8 * i);
    }
    return value;
}

TEST(ProgramResources, IconGroupHoldsLargeAndSmallSixteenColourImages) {
    auto group = programResource(resourceTypeGroupIcon, 102);
    ASSERT_TRUE(group);
    ASSERT_GE(group->size(), 6u);
    EXPECT_EQ(field(*group, 2, 2), 1u);  // icons, not cursors
    ASSERT_EQ(field(*group, 4, 2), 2u);
    ASSERT_EQ(group->size(), 6u + 2 * 14);
    std::vector<unsigned> sizes;
    for (size_t entry = 0; entry < 2; ++entry) {
        size_t at = 6 + entry * 14;
        unsigned width = field(*group, at, 1);
        EXPECT_EQ(field(*group, at + 1, 1), width);  // square
        EXPECT_EQ(field(*group, at + 2, 1), 16u);    // colours
        EXPECT_EQ(field(*group, at + 6, 2), 4u);     // bits per pixel
        sizes.push_back(width);

        // The image itself: a 4-bit bitmap of twice the height (colour and mask).
        auto image = programResource(resourceTypeIcon, int(field(*group, at + 12, 2)));
        ASSERT_TRUE(image);
        uint32_t rowBytes = (width * 4 + 31) / 32 * 4, maskRowBytes = (width + 31) / 32 * 4;
        EXPECT_EQ(field(*image, 4, 4), width);
        EXPECT_EQ(field(*image, 8, 4), 2 * width);
        EXPECT_EQ(field(*image, 14, 2), 4u);
        EXPECT_EQ(image->size(), 40 + 16 * 4 + width * (rowBytes + maskRowBytes));
        EXPECT_EQ(field(*group, at + 8, 4), image->size());
    }
    EXPECT_EQ(sizes, (std::vector<unsigned>{32, 16}));
}

TEST(ProgramResources, ManifestAsksForAdministratorStylesAndDpiAwareness) {
    auto manifest = programResource(resourceTypeManifest, 1);
    ASSERT_TRUE(manifest);
    std::string text(manifest->begin(), manifest->end());
    EXPECT_NE(text.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(text.find(">true</dpiAware>"), std::string::npos);
}

// The value that follows a key in the UTF-16 string table of a version
// resource (after the key's terminator and the alignment padding).
std::string versionString(const std::vector<uint8_t> &version, const std::string &key) {
    std::string ascii;  // low bytes of the UTF-16 units; the names are ASCII
    for (size_t i = 0; i + 1 < version.size(); i += 2) {
        ascii += char(version[i]);
    }
    size_t at = ascii.find(key + '\0');
    if (at == std::string::npos) {
        return "<missing>";
    }
    at += key.size();
    while (at < ascii.size() && ascii[at] == '\0') {
        ++at;
    }
    return ascii.substr(at, ascii.find('\0', at) - at);
}

TEST(ProgramResources, VersionNamesTheProductAndItsVersion) {
    auto version = programResource(resourceTypeVersion, 1);
    ASSERT_TRUE(version);
    // VS_FIXEDFILEINFO follows the "VS_VERSION_INFO" key; its signature is 0xFEEF04BD.
    const std::vector<uint8_t> signature{0xBD, 0x04, 0xEF, 0xFE};
    auto at = std::search(version->begin(), version->end(), signature.begin(), signature.end());
    ASSERT_NE(at, version->end());
    size_t fixed = size_t(at - version->begin());
    EXPECT_EQ(field(*version, fixed + 8, 4), 0x00010002u);   // file version 1.2
    EXPECT_EQ(field(*version, fixed + 16, 4), 0x00010002u);  // product version 1.2

    EXPECT_EQ(versionString(*version, "ProductName"), "Corvant");
    EXPECT_EQ(versionString(*version, "ProductVersion"), "1.2");
}

// The reader itself must refuse what is not a whole template, or the checks
// above could pass on a template cut short.
TEST(DialogTemplateReader, RefusesTruncatedAndForeignTemplates) {
    auto bytes = programResource(resourceTypeDialog, 103);
    ASSERT_TRUE(bytes);
    ASSERT_TRUE(parseDialogTemplate(*bytes));
    for (size_t cut : {size_t(0), size_t(3), size_t(26), bytes->size() / 2, bytes->size() - 1}) {
        std::vector<uint8_t> shortened(bytes->begin(), bytes->begin() + long(cut));
        EXPECT_FALSE(parseDialogTemplate(shortened)) << "cut at " << cut;
    }
    std::vector<uint8_t> oldForm = *bytes;
    oldForm[2] = 0;  // a plain DLGTEMPLATE has no 0xFFFF signature
    EXPECT_FALSE(parseDialogTemplate(oldForm));
}

}  // namespace
}  // namespace corvant::testing
