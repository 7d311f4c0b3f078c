// The resources compiled into launcher.exe, read back from the built file the
// way the dialog manager and the loader read them: the dialog "START" control
// by control, the logo bitmap, the version block and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

const WORD kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);  // 1031

// The built program, mapped for its resources only; kept for the whole run.
HMODULE Launcher() {
    static HMODULE module =
        LoadLibraryExA(LAUNCHER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    return module;
}

// A copy of one resource's bytes; empty when there is no such resource.
std::vector<BYTE> ResourceBytes(LPCSTR type, LPCSTR name, WORD language) {
    HRSRC found = FindResourceExA(Launcher(), type, name, language);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(Launcher(), found);
    DWORD size = SizeofResource(Launcher(), found);
    const BYTE* data = static_cast<const BYTE*>(LockResource(loaded));
    if (!data) return {};
    return std::vector<BYTE>(data, data + size);
}

// Sequential reader over resource bytes. Reading past the end yields zeros
// and clears `ok`, so a truncated template fails the checks instead of
// reading out of bounds.
struct Reader {
    const std::vector<BYTE>& bytes;
    size_t pos = 0;
    bool ok = true;

    explicit Reader(const std::vector<BYTE>& data) : bytes(data) {}

    bool Take(void* out, size_t n) {
        if (!ok || pos + n > bytes.size()) {
            ok = false;
            std::memset(out, 0, n);
            return false;
        }
        std::memcpy(out, bytes.data() + pos, n);
        pos += n;
        return true;
    }
    WORD Word() {
        WORD value;
        Take(&value, sizeof value);
        return value;
    }
    DWORD Dword() {
        DWORD value;
        Take(&value, sizeof value);
        return value;
    }
    short Short() { return static_cast<short>(Word()); }
    // Resource data starts DWORD-aligned, so offsets from its start align
    // the same way as addresses.
    void AlignDword() { pos = (pos + 3) & ~size_t(3); }
    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); ok && c != 0; c = Word()) text.push_back(wchar_t(c));
        return text;
    }
};

// A template field that is either absent (empty name), a UTF-16 name, or an
// ordinal after the 0xFFFF marker.
struct NameOrOrdinal {
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::wstring name;
};

NameOrOrdinal ReadNameOrOrdinal(Reader& in) {
    NameOrOrdinal field;
    WORD first = in.Word();
    if (first == 0xFFFF) {
        field.isOrdinal = true;
        field.ordinal = in.Word();
    } else if (first != 0) {
        field.name.push_back(wchar_t(first));
        field.name += in.String();
    }
    return field;
}

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    WORD extraBytes = 0;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    WORD itemCount = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::wstring title;
    WORD pointSize = 0;
    std::wstring face;
    std::vector<DialogItem> items;
    bool complete = false;  // every declared item read within the resource
};

// Parses a classic DLGTEMPLATE with its DLGITEMTEMPLATEs.
DialogTemplate ParseDialog(const std::vector<BYTE>& bytes) {
    DialogTemplate dialog;
    Reader in(bytes);
    dialog.style = in.Dword();
    dialog.exStyle = in.Dword();
    dialog.itemCount = in.Word();
    dialog.x = in.Short();
    dialog.y = in.Short();
    dialog.cx = in.Short();
    dialog.cy = in.Short();
    dialog.menu = ReadNameOrOrdinal(in);
    dialog.windowClass = ReadNameOrOrdinal(in);
    dialog.title = in.String();
    if (dialog.style & DS_SETFONT) {
        dialog.pointSize = in.Word();
        dialog.face = in.String();
    }
    for (WORD i = 0; i < dialog.itemCount && in.ok; ++i) {
        in.AlignDword();
        DialogItem item;
        item.style = in.Dword();
        item.exStyle = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = in.Word();
        item.windowClass = ReadNameOrOrdinal(in);
        item.text = ReadNameOrOrdinal(in);
        item.extraBytes = in.Word();
        in.pos += item.extraBytes;
        if (in.ok) dialog.items.push_back(item);
    }
    dialog.complete = in.ok && in.pos <= bytes.size() && dialog.items.size() == dialog.itemCount;
    return dialog;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else {
            char escaped[16];
            snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        }
    }
    return out;
}

const WORD kButton = 0x0080;
const WORD kStatic = 0x0082;
const WORD kListBox = 0x0083;

// The resource compiler writes a predefined class either as its atom or, for
// a generic CONTROL statement, as its name; the dialog manager treats both
// alike.
bool IsPredefinedClass(const NameOrOrdinal& windowClass, WORD atom) {
    if (windowClass.isOrdinal) return windowClass.ordinal == atom;
    const wchar_t* name = atom == kButton ? L"BUTTON" : atom == kStatic ? L"STATIC" : atom == kListBox ? L"LISTBOX" : L"";
    return _wcsicmp(windowClass.name.c_str(), name) == 0;
}

// Stands in the table below for a text the program may choose freely.
const wchar_t* const kAnyText = L"\x1";

struct ExpectedControl {
    const char* what;
    WORD classAtom;
    WORD id;
    const wchar_t* text;  // kAnyText: some non-empty string
    WORD textOrdinal;     // non-zero: the text is this resource ordinal
    short x, y, cx, cy;
    DWORD windowStyle;  // the high word: WS_ styles, compared exactly
    WORD controlStyle;  // the low word: the class's own styles, compared exactly
};

const DWORD kShown = WS_CHILD | WS_VISIBLE;
const WORD kNone = WORD(-1);

// Template order is tab order, so the order of rows matters too.
const ExpectedControl kControls[] = {
    {"OK button", kButton, IDOK, L"OK", 0, 158, 7, 50, 14, kShown | WS_TABSTOP, BS_DEFPUSHBUTTON},
    {"Abbrechen button", kButton, IDCANCEL, L"Abbrechen", 0, 158, 24, 50, 14, kShown | WS_TABSTOP, BS_PUSHBUTTON},
    {"program list", kListBox, IDC_PROGRAM_LIST, L"", 0, 27, 28, 95, 77,
     kShown | WS_BORDER | WS_VSCROLL | WS_TABSTOP, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
    {"Ausfuehren button", kButton, IDC_RUN, L"Ausf\u00fchren", 0, 158, 41, 50, 14, kShown | WS_TABSTOP, BS_PUSHBUTTON},
    {"path label", kStatic, IDC_PATH_LABEL, L"<Pfad>", 0, 19, 110, 114, 8, kShown | WS_GROUP, SS_LEFT},
    {"Autor group box", kButton, kNone, L"Autor:", 0, 16, 127, 184, 48, kShown, BS_GROUPBOX},
    {"first author line", kStatic, kNone, kAnyText, 0, 27, 141, 58, 9, kShown | WS_GROUP, SS_LEFT},
    {"second author line", kStatic, kNone, kAnyText, 0, 27, 157, 76, 8, kShown | WS_GROUP, SS_LEFT},
    {"logo picture", kStatic, kNone, nullptr, IDB_LOGO, 122, 143, 61, 23, kShown, SS_BITMAP},
    {"Programme group box", kButton, kNone, L"Programme:", 0, 16, 14, 123, 108, kShown, BS_GROUPBOX},
    {"Start group box", kButton, kNone, L"Start", 0, 148, 66, 52, 57, kShown, BS_GROUPBOX},
    {"version line", kStatic, kNone, L"Version 1.0", 0, 155, 83, 36, 8, kShown | WS_GROUP, SS_LEFT},
    {"line below the version", kStatic, kNone, kAnyText, 0, 155, 100, 41, 8, kShown | WS_GROUP, SS_LEFT},
};
const size_t kControlCount = sizeof kControls / sizeof kControls[0];

class StartDialogTemplate : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(Launcher(), nullptr) << "cannot load " << LAUNCHER_EXE << " as a data file";
        bytes = ResourceBytes(RT_DIALOG, IDD_START, kGerman);
        ASSERT_FALSE(bytes.empty()) << "no German dialog START";
        dialog = ParseDialog(bytes);
        ASSERT_TRUE(dialog.complete) << "template ends inside its " << dialog.itemCount << " items";
    }
    std::vector<BYTE> bytes;
    DialogTemplate dialog;
};

TEST_F(StartDialogTemplate, IsAClassicTemplateNotAnExtendedOne) {
    ASSERT_GE(bytes.size(), 4u);
    WORD version = WORD(bytes[0] | bytes[1] << 8);
    WORD signature = WORD(bytes[2] | bytes[3] << 8);
    EXPECT_FALSE(version == 1 && signature == 0xFFFF);
}

TEST_F(StartDialogTemplate, WindowIsACentredModalPopupWithCaptionAndSystemMenu) {
    EXPECT_EQ(dialog.style, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.title, L"Start");
    EXPECT_FALSE(dialog.menu.isOrdinal || !dialog.menu.name.empty()) << "the dialog has no menu";
    EXPECT_FALSE(dialog.windowClass.isOrdinal || !dialog.windowClass.name.empty()) << "the standard dialog class";
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.face, L"MS Sans Serif");
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 215);
    EXPECT_EQ(dialog.cy, 191);
}

TEST_F(StartDialogTemplate, ControlsMatchTheLayoutInTabOrder) {
    ASSERT_EQ(dialog.items.size(), kControlCount);
    for (size_t i = 0; i < kControlCount; ++i) {
        const ExpectedControl& want = kControls[i];
        const DialogItem& item = dialog.items[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << ", the " << want.what);
        EXPECT_TRUE(IsPredefinedClass(item.windowClass, want.classAtom))
            << "class " << (item.windowClass.isOrdinal ? "atom " + std::to_string(item.windowClass.ordinal)
                                                        : Narrow(item.windowClass.name));
        EXPECT_EQ(item.id, want.id);
        if (want.textOrdinal) {
            EXPECT_TRUE(item.text.isOrdinal);
            EXPECT_EQ(item.text.ordinal, want.textOrdinal);
        } else if (want.text == kAnyText) {
            EXPECT_FALSE(item.text.isOrdinal);
            EXPECT_FALSE(item.text.name.empty());
        } else {
            EXPECT_FALSE(item.text.isOrdinal);
            EXPECT_EQ(Narrow(item.text.name), Narrow(want.text));
        }
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.cx, want.cx);
        EXPECT_EQ(item.cy, want.cy);
        EXPECT_EQ(item.style & 0xFFFF0000u, want.windowStyle) << std::hex << "style 0x" << item.style;
        EXPECT_EQ(item.style & 0xFFFFu, want.controlStyle) << std::hex << "style 0x" << item.style;
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.extraBytes, 0);
    }
}

// Spelled out on their own because the dialog procedure depends on them: it
// adds names in entry order and reads back one selected position.
TEST_F(StartDialogTemplate, ProgramListKeepsInsertionOrderAndSelectsOneItem) {
    const DialogItem* list = nullptr;
    for (const DialogItem& item : dialog.items) {
        if (item.id == IDC_PROGRAM_LIST) list = &item;
    }
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->style & LBS_SORT, 0u);
    EXPECT_NE(list->style & LBS_STANDARD, DWORD(LBS_STANDARD));
    EXPECT_EQ(list->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL | LBS_NOSEL), 0u);
    EXPECT_EQ(list->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE), 0u);
    EXPECT_NE(list->style & LBS_NOTIFY, 0u) << "selection changes must reach the dialog";
}

TEST(LogoBitmap, IsAnUncompressed24BitImageOf91By37Pixels) {
    ASSERT_NE(Launcher(), nullptr);
    std::vector<BYTE> bytes = ResourceBytes(RT_BITMAP, MAKEINTRESOURCEA(IDB_LOGO), kGerman);
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER)) << "no German bitmap " << IDB_LOGO;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(header.biWidth, 91);
    EXPECT_EQ(header.biHeight < 0 ? -header.biHeight : header.biHeight, 37);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, DWORD(BI_RGB));
    const size_t stride = (91 * 3 + 3) & ~size_t(3);
    EXPECT_GE(bytes.size(), header.biSize + stride * 37) << "pixel rows missing";
}

// The VS_VERSIONINFO tree flattened: every text value by its key path, and
// the fixed block of the root.
struct VersionInfo {
    VS_FIXEDFILEINFO fixed = {};
    std::map<std::wstring, std::wstring> texts;
    std::map<std::wstring, std::vector<BYTE>> binaries;
    bool ok = true;
};

void ReadVersionBlock(Reader& in, const std::wstring& parent, VersionInfo& info, int depth) {
    in.AlignDword();
    size_t start = in.pos;
    WORD length = in.Word();
    WORD valueLength = in.Word();
    WORD type = in.Word();
    std::wstring key = in.String();
    in.AlignDword();
    size_t end = start + length;
    if (!in.ok || length < 6 || end > in.bytes.size() || depth > 8) {
        info.ok = false;
        return;
    }
    std::wstring path = parent.empty() ? key : parent + L"/" + key;
    if (depth == 0) {
        if (valueLength == sizeof(VS_FIXEDFILEINFO)) in.Take(&info.fixed, sizeof info.fixed);
        else info.ok = false;
    } else if (type == 1 && valueLength > 0) {
        info.texts[path] = in.String();
    } else if (type == 0 && valueLength > 0) {
        std::vector<BYTE> value(valueLength);
        in.Take(value.data(), valueLength);
        info.binaries[path] = value;
    }
    in.AlignDword();
    while (in.ok && info.ok && in.pos < end) ReadVersionBlock(in, path, info, depth + 1);
    in.pos = end;
}

TEST(VersionResource, SaysVersionOnePointZeroInGerman) {
    ASSERT_NE(Launcher(), nullptr);
    std::vector<BYTE> bytes = ResourceBytes(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO), kGerman);
    ASSERT_FALSE(bytes.empty()) << "no German version resource";
    VersionInfo info;
    Reader in(bytes);
    ReadVersionBlock(in, L"", info, 0);
    ASSERT_TRUE(info.ok && in.ok) << "malformed version block";
    EXPECT_EQ(info.fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(info.fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(info.fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info.fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(info.fixed.dwFileType, DWORD(VFT_APP));

    const std::wstring table = L"VS_VERSION_INFO/StringFileInfo/040704E4/";
    EXPECT_EQ(Narrow(info.texts[table + L"FileVersion"]), "1.0");
    EXPECT_EQ(Narrow(info.texts[table + L"ProductVersion"]), "1.0");

    std::vector<BYTE> translation = info.binaries[L"VS_VERSION_INFO/VarFileInfo/Translation"];
    ASSERT_EQ(translation.size(), 4u);
    EXPECT_EQ(translation[0] | translation[1] << 8, 0x0407);
    EXPECT_EQ(translation[2] | translation[3] << 8, 1252);
}

// The manifest's text, looked up without a language, the way the loader
// finds it; empty if there is none.
std::string ManifestText() {
    if (!Launcher()) return "";
    HRSRC found = FindResourceA(Launcher(), MAKEINTRESOURCEA(1), RT_MANIFEST);
    const char* data = found ? static_cast<const char*>(LockResource(LoadResource(Launcher(), found))) : nullptr;
    return data ? std::string(data, SizeofResource(Launcher(), found)) : "";
}

TEST(Manifest, RunsAsInvokerWithTheClassicControls) {
    std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty()) << "no manifest with id 1 in " << LAUNCHER_EXE;
    EXPECT_NE(manifest.find("<assembly"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    // The dialog is laid out for the classic controls; version 6 of the
    // common controls would change their look and metrics.
    EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

// The text between the first opening tag `<tag attributes...>` and the next
// `</tag>`, or "" if there is no such element.
std::string ElementText(const std::string& xml, const std::string& tag, const std::string& attributes = "") {
    size_t open = xml.find("<" + tag + attributes);
    if (open == std::string::npos) return "";
    size_t start = xml.find('>', open);
    size_t end = xml.find("</" + tag + ">", open);
    if (start == std::string::npos || end == std::string::npos || end < start) return "";
    return xml.substr(start + 1, end - start - 1);
}

TEST(Manifest, DeclaresTheProgramAwareOfTheSystemDpiOnly) {
    std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty()) << "no manifest with id 1 in " << LAUNCHER_EXE;

    // Windows reads dpiAware only inside <application><windowsSettings> of
    // the asm.v3 namespace, with the element in the 2005 settings namespace.
    std::string application = ElementText(manifest, "application", " xmlns=\"urn:schemas-microsoft-com:asm.v3\"");
    std::string settings = ElementText(application, "windowsSettings");
    ASSERT_FALSE(settings.empty()) << "no asm.v3 <application><windowsSettings>";
    EXPECT_NE(settings.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">"),
              std::string::npos);
    EXPECT_EQ(ElementText(settings, "dpiAware"), "true");
    // Per-monitor awareness would oblige the dialog to rescale itself when
    // moved between screens.
    EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
    EXPECT_EQ(manifest.find("PerMonitor"), std::string::npos);
}

}  // namespace
