#pragma once
// The keyboard layout switch of the program. activate("00000429") turns the Persian layout on;
// any other name (the program asks for "1") turns it back off, to ordinary typing.
//
// Where the platform has no call to change the layout for one program, the layout lives inside
// the program: an application-wide event filter turns the characters that keys of a US keyboard
// type into the characters of the same keys in the standard Persian layout (ISIRI 9147, digits
// included), in every text box of the program. Alt+Shift switches between the two while typing.
// A platform with a real layout call installs its own KeyboardLayout with setKeyboardLayout().
#include <QObject>
#include <QString>

#include <memory>

class QWidget;

class KeyboardLayout
{
public:
    // The name of the Persian layout.
    static inline const QString kPersian = QStringLiteral("00000429");
    // The name the program asks for to turn it off, back to ordinary typing.
    static inline const QString kOrdinary = QStringLiteral("1");

    virtual ~KeyboardLayout() = default;
    // Loads and activates the named layout: the Persian one for kPersian, else ordinary typing.
    virtual void activate(const QString& layoutName) = 0;
    virtual bool persianActive() const = 0;
};

// The layout switch the program uses; the in-program Persian keyboard unless replaced.
KeyboardLayout& keyboardLayout();
// Replaces the layout switch (nullptr brings back the in-program one).
void setKeyboardLayout(std::unique_ptr<KeyboardLayout> layout);

class PersianKeyboard : public QObject, public KeyboardLayout
{
    Q_OBJECT
public:
    PersianKeyboard();
    ~PersianKeyboard() override;

    void activate(const QString& layoutName) override;
    bool persianActive() const override { return m_active; }

    // What the keys that type `latin` on a US keyboard type in the Persian layout; characters
    // without a Persian counterpart are kept. `shifted` tells a space typed with Shift (the
    // zero-width non-joiner of the Persian layout).
    static QString persianText(const QString& latin, bool shifted = false);

    // Whether the filter retypes key presses sent to this widget (an editable text box).
    static bool isTextBox(const QWidget* widget);

Q_SIGNALS:
    void activeChanged(bool persian);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setActive(bool active);
    bool retype(QWidget* box, QEvent* event);
    void watchSwitchChord(QEvent* event);

    bool m_active = false;
    bool m_filterInstalled = false;
    bool m_retyping = false;
    // Alt and Shift are both down and nothing else was pressed since: releasing either switches.
    bool m_chordArmed = false;
};
