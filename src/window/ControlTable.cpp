#include "window/ControlTable.h"

#include <array>

namespace drilbank {
namespace {

using enum ControlKind;
using enum ControlFont;

// clang-format off
constexpr std::array<ControlRow, 30> controls{{
    // name                           index    kind              caption                   left   top  width height tab font    accessible name
    {"cmd_clear_answer_box",        noIndex, CommandButton,    "clear box",              8280,   240,   855,  495, 28, Window, ""},
    {"cmd_copy_picture",            noIndex, CommandButton,    "copy picture",           1200,  8160,   855,  495, 27, Window, ""},
    {"cmd_next_picture",            noIndex, CommandButton,    "next picture",           1200,  7560,   855,  495, 25, Window, ""},
    {"tmr_pend_exp",                noIndex, Timer,            "",                          0,     0,     0,    0, noIndex, Window, ""},
    {"cmd_pend_exp",                noIndex, CommandButton,    "pend exp",               8640,  7560,   495,  375, 24, Window, ""},
    {"cmd_quit",                    noIndex, CommandButton,    "quit program",          10200,     0,   735,  495, 23, Window, ""},
    {"cmd_display_note_file",       noIndex, CommandButton,    "display notes",          4440,   240,   975,  495, 22, Window, ""},
    {"cmd_displayCumulativeText",   noIndex, CommandButton,    "display everything",     3600,   240,   855,  495, 21, Window, ""},
    {"txt_parameter",               3,       TextBox,          "1",                      8205,  8160,   300,  285, 20, Window, "Parameter 4"},
    {"txt_parameter",               2,       TextBox,          "1",                      8205,  7680,   300,  285, 18, Window, "Parameter 3"},
    {"txt_parameter",               1,       TextBox,          "1",                      6720,  8160,   300,  285, 16, Window, "Parameter 2"},
    {"txt_parameter",               0,       TextBox,          "1",                      6720,  7680,   300,  285, 14, Window, "Parameter 1"},
    {"List1",                       noIndex, ListBox,          "",                       3120,  7680,  1695,  840, 12, Window, "empty list"},
    {"cmd_timerTrigger",            noIndex, CommandButton,    "Trigger Timer",          2400,  7560,   735,  495, 11, Window, ""},
    {"txt_paragraph_goback",        noIndex, TextBox,          "1",                      3120,   240,   495,  495,  9, Window, "# sentences previous"},
    {"cmd_Make_Paragraph_question", noIndex, CommandButton,    "Make Paragraph",         1200,   240,   855,  495,  8, Window, "Make Paragraph, question side"},
    {"cmd_Make_paragraph",          noIndex, CommandButton,    "Make Paragraph",         7320,   240,   975,  495,  7, Window, "Make Paragraph, answer side"},
    {"cmd_save_as_notes",           noIndex, CommandButton,    "Save as Notes",          6480,   240,   855,  495,  6, Window, ""},
    {"Picture2",                    noIndex, PictureArea,      "",                       5640,  6080,  5055, 1375,  5, Window, "picture 2, copy target"},
    {"Picture1",                    noIndex, PictureArea,      "",                        240,  6080,  5175, 1375,  4, Window, "picture 1, pendulum drawing"},
    {"cmd_enter_response",          noIndex, CommandButton,    "Enter Response",         5640,   240,   855,  495,  3, Window, ""},
    {"cmdNextQuestion",             noIndex, CommandButton,    "Next Question / Answer",  240,     0,   975,  735,  2, Window, ""},
    {"txt_answer",                  noIndex, MultiLineTextBox, " ",                      5640,   720,  5055, 5255,  1, Box,    "answer box"},
    {"txt_question",                noIndex, MultiLineTextBox, "",                        240,   720,  5175, 5255,  0, Box,    "question box"},
    {"lbl_only_if_prompted",        noIndex, Label,            "click only if prompted",  240,  7560,   855,  495, 26, Window, ""},
    {"lbl_parameter",               3,       Label,            "Parameter 4",            7200,  8160,   900,  195, 19, Window, ""},
    {"lbl_parameter",               2,       Label,            "Parameter 3",            7200,  7680,  1005,  195, 17, Window, ""},
    {"lbl_parameter",               1,       Label,            "Parameter 2",            5640,  8160,   855,  195, 15, Window, ""},
    {"lbl_parameter",               0,       Label,            "Parameter 1",            5640,  7680,   900,  195, 13, Window, ""},
    {"lbl_paragraph_goback",        noIndex, Label,            "# sentences previous",   2160,   240,  1095,  495, 10, Window, ""},
}};
// clang-format on

} // namespace

std::span<const ControlRow> controlTable() {
    return controls;
}

int twipsToPixels(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

} // namespace drilbank
