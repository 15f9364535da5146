#include "settings/invoice_settings.h"

Form15::Form15(QWidget* parent) : Form(parent)
{
    setObjectName(QStringLiteral("Form15"));
}
