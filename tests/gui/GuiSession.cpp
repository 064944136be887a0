#include "GuiSession.h"

#include <QAbstractButton>
#include <QTest>

#include <fstream>
#include <sstream>

namespace drilbank::testing {

GuiSession::GuiSession() : files_(DriveMap(folder_.path())) {
    session_ =
        std::make_unique<DrillSession>(WindowServices::Parts{dialogs, files_, clock, random});
    QObject::connect(session_.get(), &DrillSession::runEnded, [this] { ++runEndings; });
}

void GuiSession::scriptPlainKeyLine() {
    random.scripted.push_back(0.0f); // coding number 19
    for (int i = 0; i < 19; ++i) {
        random.scripted.push_back(0.5f); // no filler
        random.scripted.push_back(0.5f); // key character 118 + 68.5, rounded to 186
    }
}

bool GuiSession::start(const QStringList& answers) {
    dialogs.answers = answers;
    return session_->load();
}

bool GuiSession::startShown() {
    if (!start({"1", "Ann Lee Smith", "ALS", "1"})) {
        return false;
    }
    window().show();
    return QTest::qWaitForWindowExposed(&window());
}

void GuiSession::click(std::string_view button) {
    QTest::mouseClick(&window().button(button), Qt::LeftButton);
}

std::string GuiSession::fileBytes(const std::string& windowsPath) const {
    std::ifstream in(files_.drives().toLocal(windowsPath), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool GuiSession::fileExists(const std::string& windowsPath) const {
    return std::filesystem::exists(files_.drives().toLocal(windowsPath));
}

void typeText(QWidget& widget, const QString& text) {
    for (const uint codePoint : text.toUcs4()) {
        if (codePoint == '\n') {
            QTest::keyClick(&widget, Qt::Key_Return);
            continue;
        }
        const char32_t character = codePoint;
        QTest::sendKeyEvent(QTest::Click, &widget, Qt::Key_unknown,
                            QString::fromUcs4(&character, 1), Qt::NoModifier);
    }
}

} // namespace drilbank::testing
