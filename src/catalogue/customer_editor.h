#pragma once
// Form5, the customer editor (newmoshtary). After a save it also sets the main window's
// customer count from the customer list's record set as that set stands.
#include "catalogue/catalogue_editor.h"

#include <QList>

class QLineEdit;
class QPlainTextEdit;

class Form5 : public CatalogueEditor
{
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
    void Form_Load() override;

    // The captions beside Text1 to Text8, in that order (objectName "lblLabels", property "Index").
    QList<QLabel*> lblLabels;
    QLineEdit* Text1 = nullptr; // nuser, typed left to right
    QLineEdit* Text2 = nullptr; // name
    QLineEdit* Text3 = nullptr; // fname
    QLineEdit* Text4 = nullptr; // email, typed left to right
    QLineEdit* Text5 = nullptr; // tell, typed left to right
    QLineEdit* Text6 = nullptr; // mob, typed left to right
    QLineEdit* Text7 = nullptr; // kp, typed left to right
    QPlainTextEdit* Text8 = nullptr; // sa

protected:
    void afterClosed() override;
};
