#pragma once

class QWidget;

namespace drilbank::bench {

// The window's controls built as stock widgets of the same kinds, at the same places and in
// the same fonts, on a scrolling form of the same size, with nothing of the program behind
// them: the floor of the whole start-up.
void buildBareForm(QWidget& window);

} // namespace drilbank::bench
