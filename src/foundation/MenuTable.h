#pragma once
// The menus of the main window as data: every page, submenu, item and separator, with what each
// action does to the shared state and which sequence it runs. The main window builds its menu bars
// from this table and runs the actions through MenuActions; tests check it directly.
#include <QString>

#include <span>

namespace vt {

// How an action prepares and opens its window (see MenuActions.cpp).
enum class MenuSequence {
    Show,              // set the state, StartupCheck where marked, show the window
    AltreSedi,         // other premises: only for a tax warehouse (authorisation type "1")
    AddressPick,       // pick an address of TableName, find it by code, show the window
    CompileEad,        // empty TRASPORTO.DAT and PRODOTTI.DAT, show a new TFCOMPIE815
    Lifecycle,         // OpCode from the Tag, then the e-AD lifecycle dispatcher
    ModifyEad,         // pick an e-AD, load it with its lines, show a new TFCOMPIE815
    DuplicateEad,      // pick an e-AD of any state, copy it and its lines, show TFCOMPIE815 as new
    ChangeDestination, // pick an e-AD, load it with its transport lines, show TFCOMPIE813
    NewMovement,       // a new load or unload: TFMOVIMENTI
    Movement,          // pick a register record, show the window of the OpCode
    Guarantee,         // pick a guarantee record, show TFGARANZIA
    Link,              // open a web address of WEB.CFG, or start the signing program (Tag 100)
};

// Changes of the shared flags made by an action before anything else.
enum MenuFlag : unsigned {
    SetFromMenu = 1u << 0,
    ClearFromMenu = 1u << 1,
    SetModifyMode = 1u << 2,
    ClearModifyMode = 1u << 3,
    SetLoadSide = 1u << 4,
    ClearLoadSide = 1u << 5,
    SetRectifyCancel = 1u << 6,
    SetRectifyModify = 1u << 7,
    ClearNewCodeMode = 1u << 8,
    WorkYearNow = 1u << 9, // WorkYear := the current year
};

enum class MenuKind { Item, Separator };

inline constexpr int NoTag = -1;

struct MenuItem {
    int page;              // 0 "Dati Generali", 1 "e-AD", 2 "Registro"
    const char* submenu;   // caption of its submenu; nullptr for an item on the menu bar itself
    MenuKind kind;
    const char* caption;   // with the "&" before the accelerator letter (UTF-8)
    const char* action;    // the action's name (objectName of the menu item)
    int tag;               // NoTag when the action has none
    char opCode;           // 0: OpCode left alone (Lifecycle takes it from the Tag)
    unsigned flags;        // MenuFlag bits
    const char* tableName; // nullptr: TableName left alone
    bool startupCheck;
    MenuSequence sequence;
    const char* window;    // window shown at the end; nullptr where the sequence chooses it
    const char* hint = nullptr;
    bool visible = true;

    QString captionText() const { return QString::fromUtf8(caption); }
    QString submenuText() const { return QString::fromUtf8(submenu); }
};

struct MenuPage {
    const char* caption;  // tab caption
    const char* sheet;    // objectName of the page
    const char* menuBar;  // objectName of its menu bar
    const char* picture;  // objectName of its picture
    const char* resource; // picture resource, drawn only when present
};

std::span<const MenuItem> menuItems();
std::span<const MenuPage> menuPages();

// The submenu whose own entry answers to F1.
inline constexpr const char* F1Submenu = "&e-AD (IE815)";

} // namespace vt

namespace vt {

// Where a page's picture goes when the main window is resized: width W - W div 10 and height
// H - H div 10 - menu bar height (W, H: the page control's size), centred horizontally in the page
// control and vertically in the page. Integer division truncates toward zero.
struct PictureRect {
    int left, top, width, height;
};
inline PictureRect pictureRect(int controlWidth, int controlHeight, int menuBarHeight, int pageHeight,
                               int controlLeft, int controlTop)
{
    PictureRect r{};
    r.width = controlWidth - controlWidth / 10;
    r.height = controlHeight - controlHeight / 10 - menuBarHeight;
    r.left = (controlWidth - r.width) / 2 + controlLeft;
    r.top = (pageHeight - r.height) / 2 + controlTop;
    return r;
}

} // namespace vt
