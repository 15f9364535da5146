#include "settings/persian_keyboard.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

// A key of the US layout as the character it types, and what the same key types in the
// standard Persian layout (ISIRI 9147), unshifted and shifted keys alike.
struct KeyPair
{
    char16_t latin;
    char16_t persian;
};

constexpr KeyPair kLayout[] = {
    // number row
    {u'`', u'\u200D'}, {u'~', u'\u00F7'},
    {u'1', u'\u06F1'}, {u'!', u'!'},
    {u'2', u'\u06F2'}, {u'@', u'\u066C'},
    {u'3', u'\u06F3'}, {u'#', u'\u066B'},
    {u'4', u'\u06F4'}, {u'$', u'\uFDFC'},
    {u'5', u'\u06F5'}, {u'%', u'\u066A'},
    {u'6', u'\u06F6'}, {u'^', u'\u00D7'},
    {u'7', u'\u06F7'}, {u'&', u'\u060C'},
    {u'8', u'\u06F8'}, {u'*', u'*'},
    {u'9', u'\u06F9'}, {u'(', u')'},
    {u'0', u'\u06F0'}, {u')', u'('},
    {u'-', u'-'}, {u'_', u'\u0640'},
    {u'=', u'='}, {u'+', u'+'},
    // top letter row
    {u'q', u'\u0636'}, {u'Q', u'\u0652'},
    {u'w', u'\u0635'}, {u'W', u'\u064C'},
    {u'e', u'\u062B'}, {u'E', u'\u064D'},
    {u'r', u'\u0642'}, {u'R', u'\u064B'},
    {u't', u'\u0641'}, {u'T', u'\u064F'},
    {u'y', u'\u063A'}, {u'Y', u'\u0650'},
    {u'u', u'\u0639'}, {u'U', u'\u064E'},
    {u'i', u'\u0647'}, {u'I', u'\u0651'},
    {u'o', u'\u062E'}, {u'O', u']'},
    {u'p', u'\u062D'}, {u'P', u'['},
    {u'[', u'\u062C'}, {u'{', u'}'},
    {u']', u'\u0686'}, {u'}', u'{'},
    {u'\\', u'\\'}, {u'|', u'|'},
    // home row
    {u'a', u'\u0634'}, {u'A', u'\u0624'},
    {u's', u'\u0633'}, {u'S', u'\u0626'},
    {u'd', u'\u06CC'}, {u'D', u'\u064A'},
    {u'f', u'\u0628'}, {u'F', u'\u0625'},
    {u'g', u'\u0644'}, {u'G', u'\u0623'},
    {u'h', u'\u0627'}, {u'H', u'\u0622'},
    {u'j', u'\u062A'}, {u'J', u'\u0629'},
    {u'k', u'\u0646'}, {u'K', u'\u00BB'},
    {u'l', u'\u0645'}, {u'L', u'\u00AB'},
    {u';', u'\u06A9'}, {u':', u':'},
    {u'\'', u'\u06AF'}, {u'"', u'\u061B'},
    // bottom row
    {u'z', u'\u0638'}, {u'Z', u'\u0643'},
    {u'x', u'\u0637'}, {u'X', u'\u0653'},
    {u'c', u'\u0632'}, {u'C', u'\u0698'},
    {u'v', u'\u0631'}, {u'V', u'\u0670'},
    {u'b', u'\u0630'}, {u'B', u'\u200C'},
    {u'n', u'\u062F'}, {u'N', u'\u0654'},
    {u'm', u'\u067E'}, {u'M', u'\u0621'},
    {u',', u'\u0648'}, {u'<', u'>'},
    {u'.', u'.'}, {u'>', u'<'},
    {u'/', u'/'}, {u'?', u'\u061F'},
};

constexpr char16_t kZeroWidthNonJoiner = u'\u200C';

char16_t persianOf(char16_t latin)
{
    for (const KeyPair& pair : kLayout)
        if (pair.latin == latin)
            return pair.persian;
    return latin;
}

std::unique_ptr<KeyboardLayout>& currentLayout()
{
    static std::unique_ptr<KeyboardLayout> layout;
    return layout;
}

} // namespace

KeyboardLayout& keyboardLayout()
{
    auto& layout = currentLayout();
    if (!layout)
        layout = std::make_unique<PersianKeyboard>();
    return *layout;
}

void setKeyboardLayout(std::unique_ptr<KeyboardLayout> layout)
{
    currentLayout() = std::move(layout);
}

PersianKeyboard::PersianKeyboard() = default;

PersianKeyboard::~PersianKeyboard()
{
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void PersianKeyboard::activate(const QString& layoutName)
{
    // The switch chord must work from the first request on, whichever layout was asked for.
    if (!m_filterInstalled && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        m_filterInstalled = true;
    }
    setActive(layoutName == kPersian);
}

void PersianKeyboard::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    Q_EMIT activeChanged(m_active);
}

QString PersianKeyboard::persianText(const QString& latin, bool shifted)
{
    QString result = latin;
    for (QChar& c : result) {
        if (c == QLatin1Char(' ')) {
            if (shifted)
                c = QChar(kZeroWidthNonJoiner);
            continue;
        }
        c = QChar(persianOf(c.unicode()));
    }
    return result;
}

bool PersianKeyboard::isTextBox(const QWidget* widget)
{
    if (!widget)
        return false;
    // Multi-line boxes may hand their viewport the key events.
    if (auto* area = qobject_cast<const QAbstractScrollArea*>(widget->parentWidget());
        area && area->viewport() == widget)
        widget = area;
    if (auto* line = qobject_cast<const QLineEdit*>(widget))
        return !line->isReadOnly();
    if (auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return !plain->isReadOnly();
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return false;
}

bool PersianKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (m_retyping)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        watchSwitchChord(event);
        [[fallthrough]];
    case QEvent::InputMethod:
        if (m_active && event->type() != QEvent::KeyRelease && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (isTextBox(widget))
                return retype(widget, event);
        }
        break;
    default:
        break;
    }
    return false;
}

bool PersianKeyboard::retype(QWidget* box, QEvent* event)
{
    if (event->type() == QEvent::InputMethod) {
        auto* input = static_cast<QInputMethodEvent*>(event);
        const QString persian = persianText(input->commitString());
        if (persian == input->commitString())
            return false;
        QInputMethodEvent again(input->preeditString(), input->attributes());
        again.setCommitString(persian, input->replacementStart(), input->replacementLength());
        m_retyping = true;
        QCoreApplication::sendEvent(box, &again);
        m_retyping = false;
        return true;
    }

    auto* key = static_cast<QKeyEvent*>(event);
    // Shortcuts and the number pad keep their own meaning.
    const Qt::KeyboardModifiers kept = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier;
    if (key->modifiers() & kept)
        return false;
    const QString persian = persianText(key->text(), key->modifiers().testFlag(Qt::ShiftModifier));
    if (persian == key->text())
        return false;
    QKeyEvent again(QEvent::KeyPress, key->key(), key->modifiers(), key->nativeScanCode(),
                    key->nativeVirtualKey(), key->nativeModifiers(), persian, key->isAutoRepeat(),
                    key->count());
    m_retyping = true;
    QCoreApplication::sendEvent(box, &again);
    m_retyping = false;
    key->setAccepted(again.isAccepted());
    return true;
}

void PersianKeyboard::watchSwitchChord(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return;
    const bool shiftOrAlt = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Alt;
    if (event->type() == QEvent::KeyPress) {
        if (!shiftOrAlt) {
            // Any other key pressed while the two are held makes it a shortcut (Alt+Shift+X).
            m_chordArmed = false;
            return;
        }
        // The state may or may not count the key being pressed: add it.
        Qt::KeyboardModifiers held = key->modifiers();
        held |= key->key() == Qt::Key_Shift ? Qt::ShiftModifier : Qt::AltModifier;
        const Qt::KeyboardModifiers chord = Qt::ShiftModifier | Qt::AltModifier;
        if ((held & (chord | Qt::ControlModifier | Qt::MetaModifier)) == chord)
            m_chordArmed = true;
        return;
    }
    // Release of Shift or Alt after the two were held together, nothing else between.
    if (shiftOrAlt && m_chordArmed) {
        m_chordArmed = false;
        setActive(!m_active);
    }
}
