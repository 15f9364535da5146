// The in-program Persian keyboard: every key press and input-method text typed into a box
// passes through its filter, which retypes it and watches for the Alt+Shift switch. The input
// is a stream of events: a kind byte, a key byte, a modifier byte, then the typed text (UTF-8,
// up to the next zero byte).
#include "settings/persian_keyboard.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <cstdint>

namespace {
QLineEdit* box = nullptr;

const Qt::Key kKeys[] = {Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Control, Qt::Key_Space, Qt::Key_A, Qt::Key_M,
                         Qt::Key_Comma, Qt::Key_0, Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Left, Qt::Key_unknown};
const Qt::KeyboardModifier kModifiers[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                           Qt::MetaModifier, Qt::KeypadModifier};
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: libFuzzer leaves through exit(), after which Qt cannot be torn down.
    new QApplication(*argc, *argv);
    box = new QLineEdit;
    box->show();
    keyboardLayout().activate(KeyboardLayout::kPersian);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    box->clear();
    size_t at = 0;
    while (at + 3 <= size) {
        const uint8_t kind = data[at];
        const Qt::Key key = kKeys[data[at + 1] % std::size(kKeys)];
        Qt::KeyboardModifiers modifiers;
        for (size_t bit = 0; bit < std::size(kModifiers); ++bit)
            if (data[at + 2] & (1u << bit))
                modifiers |= kModifiers[bit];
        at += 3;
        size_t end = at;
        while (end < size && data[end] != 0)
            ++end;
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + at), qsizetype(end - at));
        at = end + 1;
        if (kind % 3 == 2) {
            QInputMethodEvent input;
            input.setCommitString(text);
            QCoreApplication::sendEvent(box, &input);
        } else {
            QKeyEvent event(kind % 3 == 0 ? QEvent::KeyPress : QEvent::KeyRelease, key, modifiers, text, kind & 0x80);
            QCoreApplication::sendEvent(box, &event);
        }
    }
    return 0;
}
