#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drilbank {

// A dialog template built in memory, in dialog units, for DialogBoxIndirectParam: the boxes
// need no resource file, and the same code serves the program and its tests.
class DialogTemplate {
public:
    DialogTemplate(const std::wstring& title, short width, short height);

    // Predefined control classes by their atom: button, edit, static.
    static constexpr WORD button = 0x0080;
    static constexpr WORD edit = 0x0081;
    static constexpr WORD staticText = 0x0082;

    void add(WORD controlClass, WORD id, DWORD style, short x, short y, short width, short height,
             const std::wstring& text = {});

    // Runs the box modally; the result is the id passed to EndDialog.
    INT_PTR run(HWND owner, DLGPROC procedure, LPARAM parameter);

private:
    void alignToDword();
    void addWord(WORD word);
    void addText(const std::wstring& text);

    std::vector<WORD> words_;
    std::size_t countAt_ = 0; // where the template's control count stands
};

// Grows a static text control to the height its text needs at its width, and moves every
// control below it and the box's own bottom edge down by as much.
void fitTextHeight(HWND dialog, int staticId);

// The program's icon on a box, when the program carries one.
void setProgramIcon(HWND window);

} // namespace drilbank
