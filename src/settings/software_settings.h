#pragma once
// Form16, the software settings window: the main window's background picture, the Persian
// keyboard at start and the login. Loaded hidden at start-up and never unloaded (its return
// button and close box hide it), it holds the current settings values for the whole run.
#include "ui/form.h"

#include <QSize>

class CommonDialog;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// Tells the user, in a box with this title, when settings could not be written to their file
// (nothing of them was stored then); gives `written` back.
bool settingsSaved(QWidget* parent, bool written, const QString& title);

class Form16 : public Form
{
    Q_OBJECT
public:
    explicit Form16(QWidget* parent = nullptr);
    void Form_Load() override;

    // The picture the main window shows: the chosen file, or the default picture when none is.
    QString backgroundPicturePath() const;
    // Switches the Persian keyboard on when the option is ticked, else back to ordinary typing.
    void applyKeyboardOption() const;
    // Adds a page to the tab control, behind the others, on the tabs' white background; the
    // window grows when the page needs more room (its minimum size) than the tabs have.
    void addTabPage(QWidget* page, const QString& caption);
    // Takes a login password as the store now keeps it (empty: none). The box never shows the
    // stored value: a stored password shows as a fixed short mask.
    void showStoredPassword(const QString& stored);

    QTabWidget* XTab1 = nullptr;
    QPushButton* Command1 = nullptr; // return
    CommonDialog* CommonDialog1 = nullptr;

    // General tab
    QCheckBox* Check1 = nullptr; // switch the Persian keyboard on at start
    QLabel* Label1 = nullptr;
    QPushButton* Command2 = nullptr; // open picture
    QLineEdit* Text1 = nullptr;      // background picture path
    QLabel* Label2 = nullptr;        // divider
    QPushButton* Command6 = nullptr; // remove picture
    QPushButton* Command3 = nullptr; // save

    // Security tab
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Text2 = nullptr; // login user name
    QLabel* Label5 = nullptr;
    QLineEdit* Text3 = nullptr;      // a new login password (typed shown as at signs), or the mask of the stored one
    QPushButton* Command5 = nullptr; // remove password
    QPushButton* Command4 = nullptr; // set password

public Q_SLOTS:
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Text2_Change();
    void Text3_Change();
    // Brings the page of the given tab to the front; only its controls are visible.
    void XTab1_Click(int tab);

protected:
    // The window is never unloaded during the run: the close box only hides it.
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGeneralTab(QWidget* page);
    void buildSecurityTab(QWidget* page);
    void connectHandlers();
    void growTabsFor(QSize pageSize);
    // A typed key replaces the mask of the stored password instead of adding to it.
    void Text3_Edited();
    // What "set password" stores: the stored value unchanged while the mask is shown, else the
    // hash of the typed password (empty when hashing failed).
    QString passwordToStore() const;

    QString m_storedPassword;
    bool m_passwordMasked = false;
};

// Login passwords as the settings store keeps them: a salted, slow hash (Argon2id with the
// interactive limits) in the self-describing text form of libsodium's crypto_pwhash_str.
namespace LoginPassword {
// The hash of the password; the empty text if hashing failed (out of memory).
QString hash(const QString& password);
// Whether a stored value is such a hash, rather than a password an earlier version kept as it was.
bool isHash(const QString& stored);
// Whether the typed password is the stored one: a hash is verified; any other stored value
// (left by an earlier version) must equal the typed text exactly.
bool matches(const QString& stored, const QString& typed);
} // namespace LoginPassword

