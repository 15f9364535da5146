#include "ui/form.h"

#include "ui/form_registry.h"
#include "ui/geometry.h"

#include <QCloseEvent>
#include <QKeyEvent>

Form::Form(QWidget* parent) : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void Form::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    exec();
}

void Form::unload()
{
    forms().unload(this);
}

void Form::setupWindow(const QString& caption, int clientWidthTwips, int clientHeightTwips)
{
    setWindowTitle(caption);
    setLayoutDirection(Qt::RightToLeft);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xFF));
    setPalette(pal);
    setFixedSize(twipsToPixels(clientWidthTwips), twipsToPixels(clientHeightTwips));
}

void Form::closeEvent(QCloseEvent* event)
{
    event->accept();
    forms().unload(this);
}

void Form::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}
