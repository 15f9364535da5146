#pragma once
// Form16, the software settings window; loaded hidden at start-up, it holds the current
// settings values (keyboard option, background picture, login) for the whole run.
#include "app/form.h"

class QCheckBox;
class QLineEdit;

class Form16 : public Form
{
    Q_OBJECT
public:
    explicit Form16(QWidget* parent = nullptr);
    void Form_Load() override;

    QCheckBox* Check1 = nullptr; // switch the Persian keyboard on at start
    QLineEdit* Text1 = nullptr;  // background picture path
    QLineEdit* Text2 = nullptr;  // login user name
    QLineEdit* Text3 = nullptr;  // login password
};

class Form1;

// The main window's load steps that use the current settings values held by Form16.
void MainWindowKeyboardStep();
void MainWindowBackgroundPictureStep(Form1* mainWindow);
