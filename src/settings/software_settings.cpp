#include "settings/software_settings.h"

#include <QCheckBox>
#include <QLineEdit>

Form16::Form16(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form16"));
    Check1 = new QCheckBox(this);
    Text1 = new QLineEdit(this);
    Text2 = new QLineEdit(this);
    Text3 = new QLineEdit(this);
}

void Form16::Form_Load() {}

void MainWindowKeyboardStep() {}

void MainWindowBackgroundPictureStep(Form1*) {}
