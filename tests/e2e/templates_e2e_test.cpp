// The dialog templates as the program file carries them: each window's
// caption, styles and controls in template order, with their kinds,
// identifiers, texts, styles and places.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "BrawlwiseDriver.h"
#include "core/ControlNumbers.h"
#include "windows/BrawlwiseVersion.h"

namespace e2e {
namespace {

struct Control {
  int id;
  const char* kind;
  const char* text;
  int x, y, width, height;
  DWORD style;  // bits that must be set
};

struct Template {
  int id;
  const char* caption;
  DWORD style;
  DWORD extendedStyle;
  std::vector<Control> controls;
};

const DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD kTick = BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD kButton = WS_TABSTOP;
const DWORD kLabel = SS_CENTER | WS_GROUP;
const DWORD kLeftLabel = SS_LEFT | WS_GROUP;
const DWORD kGroup = BS_GROUPBOX;
const DWORD kBox = ES_MULTILINE | ES_READONLY | WS_BORDER | WS_TABSTOP;

const Template kTemplates[] = {
    {IDD_MAIN,
     "Brawlwise",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX,
     WS_EX_APPWINDOW | WS_EX_STATICEDGE,
     {{4001, "Edit", "", 76, 8, 76, 16, kEdit},
      {4002, "Edit", "", 76, 36, 76, 16, kEdit},
      {1004, "ComboBox", "", 76, 68, 84, 60, kList},
      {1005, "ComboBox", "", 76, 100, 84, 120, kList},
      {4006, "Edit", "", 228, 12, 76, 16, kEdit},
      {4007, "Edit", "", 228, 36, 76, 16, kEdit},
      {1012, "Button", "Same Corporation", 172, 72, 68, 10, kTick},
      {1013, "Button", "Same Alliance", 172, 88, 60, 10, kTick},
      {1018, "Button", "Concord", 256, 120, 48, 10, kTick},
      {1017, "Button", "Warring Corps", 172, 120, 60, 10, kTick},
      {1014, "Button", "Same Gang", 172, 104, 52, 10, kTick},
      {1001, "Button", "Calculate", 20, 136, 45, 15, kButton},
      {1002, "Button", "Clear", 100, 136, 45, 15, kButton},
      {1007, "Static", "Player 1 Name:", 8, 8, 64, 16, kLabel},
      {1008, "Static", "Player 2 Name:", 8, 36, 64, 16, kLabel},
      {1010, "Static", "Location:", 8, 68, 64, 16, kLabel},
      {1011, "Static", "Solar System Security:", 8, 100, 64, 16, kLabel},
      {1015, "Static", "Player 1 Security Status:", 160, 12, 64, 16, kLabel},
      {1016, "Static", "Player 2 Security Status:", 160, 36, 64, 16, kLabel},
      {3, "Button", "Player 2 is Flagged To:", 252, 60, 88, 72, kGroup},
      {1019, "Button", "Player 1", 256, 72, 60, 10, kTick},
      {1021, "Button", "Player 1s Gangmate", 256, 104, 80, 10, kTick},
      {1020, "Button", "Player 1s Corpmate", 256, 88, 80, 10, kTick},
      {4010, "Button", "Both Players are in:", 168, 60, 80, 76, kGroup},
      {4003, "Button", "Miscellaneous:", 168, 140, 172, 28, kGroup},
      {1022, "Button", "Player 1 has Killrights on Player 2 ", 172, 152, 116, 10, kTick},
      {1023, "Button", "SSS", 308, 12, 32, 15, kButton},
      {1024, "Button", "SSS", 308, 36, 32, 15, kButton}}},
    {IDD_ABOUT,
     "About Brawlwise",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | DS_3DLOOK,
     WS_EX_APPWINDOW,
     {{1101, "Button", "OK", 82, 120, 45, 15, kButton},
      {4003, "Static", "Brawlwise - Clashmark", 44, 20, 120, 20, kLabel},
      {4008, "Static", nullptr, 72, 96, 72, 8, kLeftLabel},
      {4009, "Static", "See Help File for more information and contact details", 44, 60, 120, 20, kLabel},
      {3, "Button", "About this program...", 16, 4, 173, 112, kGroup}}},
    {IDD_RESULTS,
     "Results",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
     0,
     {{1201, "Button", "Close", 264, 4, 45, 15, kButton},
      {1202, "Edit", "", 4, 8, 252, 26, kBox},
      {1203, "Edit", "", 4, 40, 252, 26, kBox},
      {1205, "Edit", "", 4, 136, 300, 24, kBox},
      {1206, "Edit", "", 4, 168, 300, 24, kBox},
      {1207, "Edit", "", 4, 200, 300, 24, kBox},
      {1204, "Edit", "", 4, 72, 252, 26, kBox},
      {1209, "Edit", "", 4, 104, 252, 26, kBox},
      {1210, "Static", "", 260, 36, 48, 48, SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZEIMAGE}}},
    {IDD_STATISTICS,
     "Security Standing Statistics for Player 1",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
     0,
     {{1301, "Button", "Close", 220, 8, 45, 15, kButton},
      {1303, "Edit", "", 140, 68, 72, 26, kBox},
      {1304, "Edit", "", 140, 132, 72, 26, kBox},
      {1305, "Edit", "", 140, 164, 72, 26, kBox},
      {1302, "Edit", "", 140, 36, 72, 26, kBox},
      {4003, "Static", "Aggression and Shipkills until Outlaw:", 8, 44, 124, 12, kLeftLabel},
      {4008, "Static", "Aggression, Shipkills and Podkills until Outlaw:", 8, 72, 124, 20, kLeftLabel},
      {4009, "Static", "Aggression and Shipkills until -10:", 8, 140, 124, 12, kLeftLabel},
      {4011, "Static", "Aggression, Shipkills and Podkills until -10:", 8, 168, 124, 20, kLeftLabel},
      {1306, "Edit", "", 8, 196, 252, 26, kBox},
      {1307, "Edit", "", 140, 4, 72, 26, kBox},
      {4012, "Static", "Aggressions until Outlaw:", 8, 12, 124, 12, kLeftLabel},
      {1308, "Edit", "", 140, 100, 72, 26, kBox},
      {4014, "Static", "Aggressions until -10:", 8, 108, 124, 12, kLeftLabel}}},
};

// The resources of Brawlwise.exe itself, read as data.
class ProgramFile {
 public:
  ProgramFile() : module_(LoadLibraryExA(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramFile() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  ProgramFile(const ProgramFile&) = delete;
  ProgramFile& operator=(const ProgramFile&) = delete;
  HMODULE module() const { return module_; }

  const unsigned char* resource(int id, LPCSTR type) const {
    HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
    return found == nullptr ? nullptr : static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
  }

 private:
  HMODULE module_;
};

// Reads an extended dialog template as the resource compiler wrote it.
class TemplateReader {
 public:
  explicit TemplateReader(const unsigned char* at) : at_(at) {}
  WORD word() { return take<WORD>(); }
  DWORD dword() { return take<DWORD>(); }
  short coordinate() { return static_cast<short>(take<WORD>()); }
  // A name or an ordinal; ordinals of the predefined classes become names.
  std::string nameOrOrdinal() {
    if (peekWord() == 0xFFFF) {
      word();
      const WORD ordinal = word();
      const char* const classes[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
      return ordinal >= 0x80 && ordinal <= 0x85 ? classes[ordinal - 0x80] : "#" + std::to_string(ordinal);
    }
    return string();
  }
  std::string string() {
    std::string text;
    for (WORD c = word(); c != 0; c = word()) text += static_cast<char>(c);
    return text;
  }
  void alignToDword() {
    while ((reinterpret_cast<std::uintptr_t>(at_) & 3) != 0) ++at_;
  }
  void skip(std::size_t bytes) { at_ += bytes; }

 private:
  template <typename T>
  T take() {
    T value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  WORD peekWord() const {
    WORD value;
    std::memcpy(&value, at_, sizeof value);
    return value;
  }
  const unsigned char* at_;
};

struct Placement {
  int x, y, width, height;
  bool operator==(const Placement& o) const { return x == o.x && y == o.y && width == o.width && height == o.height; }
};

std::ostream& operator<<(std::ostream& out, const Placement& p) {
  return out << '(' << p.x << ", " << p.y << ", " << p.width << ", " << p.height << ')';
}

const Placement kWindowPlaces[] = {{0, 0, 348, 172}, {6, 18, 210, 142}, {6, 18, 314, 234}, {6, 18, 270, 226}};

TEST(Templates, WindowsAndControlsAreAsDesigned) {
  const ProgramFile program;
  ASSERT_NE(program.module(), nullptr);
  int which = 0;
  for (const Template& t : kTemplates) {
    SCOPED_TRACE(t.caption);
    const unsigned char* bytes = program.resource(t.id, MAKEINTRESOURCEA(5));
    ASSERT_NE(bytes, nullptr);
    TemplateReader r(bytes);
    ASSERT_EQ(r.word(), 1) << "extended template";
    ASSERT_EQ(r.word(), 0xFFFF);
    r.dword();  // help context
    const DWORD extendedStyle = r.dword();
    const DWORD style = r.dword();
    const WORD count = r.word();
    const Placement place = {r.coordinate(), r.coordinate(), r.coordinate(), r.coordinate()};
    EXPECT_EQ(place, kWindowPlaces[which++]);
    const DWORD designedStyle = t.style | WS_VISIBLE | DS_SETFONT | (t.id == IDD_MAIN ? 0 : DS_3DLOOK);
    EXPECT_EQ(style, designedStyle);
    EXPECT_EQ(extendedStyle, t.extendedStyle);
    EXPECT_EQ(r.nameOrOrdinal(), t.id == IDD_MAIN ? "#100" : "") << "menu";
    EXPECT_EQ(r.nameOrOrdinal(), "") << "window class";
    EXPECT_EQ(r.string(), t.caption);
    EXPECT_EQ(r.word(), 8) << "point size";
    EXPECT_EQ(r.word(), 0) << "weight";
    EXPECT_EQ(r.word(), 0x0100) << "not italic, character set 1";
    EXPECT_EQ(r.string(), "MS Sans Serif");
    ASSERT_EQ(count, t.controls.size());
    for (const Control& c : t.controls) {
      SCOPED_TRACE(c.id);
      r.alignToDword();
      r.dword();  // help context
      EXPECT_EQ(r.dword(), 0u) << "extended style";
      const DWORD controlStyle = r.dword();
      const Placement at = {r.coordinate(), r.coordinate(), r.coordinate(), r.coordinate()};
      EXPECT_EQ(static_cast<int>(r.dword()), c.id);
      const std::string kind = r.nameOrOrdinal();
      EXPECT_EQ(lstrcmpiA(kind.c_str(), c.kind), 0) << kind;
      const std::string title = r.nameOrOrdinal();
      if (c.text != nullptr) {
        EXPECT_EQ(title, c.text);
      }
      r.skip(r.word());  // creation data
      EXPECT_EQ(controlStyle & c.style, c.style);
      EXPECT_EQ(controlStyle & (WS_CHILD | WS_VISIBLE), static_cast<DWORD>(WS_CHILD | WS_VISIBLE));
      if ((c.style & WS_TABSTOP) == 0) {
        EXPECT_EQ(controlStyle & WS_TABSTOP, 0u) << "no tab stop";
      }
      if (c.style == kButton) {
        EXPECT_EQ(controlStyle & 0xF, static_cast<DWORD>(BS_PUSHBUTTON)) << "an ordinary push button";
      }
      EXPECT_EQ(at, (Placement{c.x, c.y, c.width, c.height}));
    }
  }
}

TEST(Templates, MenuHasFileAndHelp) {
  const ProgramFile program;
  HMENU menu = LoadMenuA(program.module(), MAKEINTRESOURCEA(IDM_MAIN));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  const struct {
    int popup;
    int position;
    const char* text;
    UINT command;
  } items[] = {{0, 0, "Clear", IDM_FILE_CLEAR}, {0, 1, "Exit", IDM_FILE_EXIT}, {1, 0, "&About", IDM_HELP_ABOUT}};
  char title[32] = {};
  GetMenuStringA(menu, 0, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "File");
  GetMenuStringA(menu, 1, title, sizeof title, MF_BYPOSITION);
  EXPECT_STREQ(title, "Help");
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 2);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 1)), 1);
  for (const auto& item : items) {
    HMENU popup = GetSubMenu(menu, item.popup);
    char text[32] = {};
    GetMenuStringA(popup, static_cast<UINT>(item.position), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, item.text);
    EXPECT_EQ(GetMenuItemID(popup, item.position), item.command);
  }
  DestroyMenu(menu);
}

// The bytes of menu 100: an extended template (a classic one loads into the
// same menu, so only the bytes tell them apart), pop-ups and items in order.
TEST(Templates, MenuIsAnExtendedTemplate) {
  const ProgramFile program;
  const unsigned char* bytes = program.resource(IDM_MAIN, MAKEINTRESOURCEA(4));
  ASSERT_NE(bytes, nullptr);
  TemplateReader r(bytes);
  ASSERT_EQ(r.word(), 1) << "version of an extended menu template";
  ASSERT_EQ(r.word(), 4) << "offset of the first item";
  EXPECT_EQ(r.dword(), 0u) << "help context";
  const WORD kPopup = 0x01;
  const WORD kLast = 0x80;
  const struct {
    WORD flags;
    DWORD command;
    const char* text;
  } items[] = {{kPopup, 0, "File"},
               {0, IDM_FILE_CLEAR, "Clear"},
               {kLast, IDM_FILE_EXIT, "Exit"},
               {kPopup | kLast, 0, "Help"},
               {kLast, IDM_HELP_ABOUT, "&About"}};
  for (const auto& item : items) {
    SCOPED_TRACE(item.text);
    EXPECT_EQ(r.dword(), static_cast<DWORD>(MFT_STRING)) << "type";
    EXPECT_EQ(r.dword(), static_cast<DWORD>(MFS_ENABLED)) << "state";
    EXPECT_EQ(r.dword(), item.command);
    EXPECT_EQ(r.word(), item.flags);
    EXPECT_EQ(r.string(), item.text);
    r.alignToDword();
    if ((item.flags & kPopup) != 0) {
      EXPECT_EQ(r.dword(), 0u) << "pop-up's help context";
    }
  }
}

TEST(Templates, VersionBlockNamesTheProduct) {
  const std::string path = programPath();
  std::vector<char> block(GetFileVersionInfoSizeA(path.c_str(), nullptr));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const struct {
    const char* name;
    const char* value;
  } strings[] = {{"FileVersion", BRAWLWISE_VERSION_TEXT},
                 {"ProductVersion", BRAWLWISE_VERSION_TEXT},
                 {"ProductName", "Brawlwise - Clashmark"}};
  for (const auto& s : strings) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\080904b0\\") + s.name;
    ASSERT_TRUE(VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length)) << s.name;
    EXPECT_STREQ(value, s.value);
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD numbers[] = {BRAWLWISE_VERSION_NUMBERS};
  EXPECT_EQ(fixed->dwFileVersionMS, numbers[0] << 16 | numbers[1]);
  EXPECT_EQ(fixed->dwFileVersionLS, numbers[2] << 16 | numbers[3]);
  EXPECT_EQ(fixed->dwProductVersionMS, numbers[0] << 16 | numbers[1]);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  EXPECT_EQ(*translation, 0x04B00809u);
}

TEST(Templates, ProgramIconIsOne32By32ImageIn16Colours) {
  const ProgramFile program;
  HRSRC group = FindResourceA(program.module(), MAKEINTRESOURCEA(IDI_PROGRAM), MAKEINTRESOURCEA(14));
  ASSERT_NE(group, nullptr);
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(program.module(), group)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[4] | (bytes[5] << 8), 1) << "images in the group";
  EXPECT_EQ(bytes[6], 32);  // width
  EXPECT_EQ(bytes[7], 32);  // height
  EXPECT_EQ(bytes[8], 16);  // colours
  EXPECT_EQ(bytes[12] | (bytes[13] << 8), 4) << "bits per pixel";
}

}  // namespace
}  // namespace e2e
