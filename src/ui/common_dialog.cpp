#include "ui/common_dialog.h"

#include "calendar/solar_hijri.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStringList>
#include <QTreeView>
#include <QUrl>

#include <algorithm>

namespace {

CommonDialog::Answer& testAnswer()
{
    static CommonDialog::Answer answer;
    return answer;
}

const QStringList kColumnCaptions = {QStringLiteral("نام"), QStringLiteral("اندازه"), QStringLiteral("نوع"),
                                     QStringLiteral("تاريخ تغيير")};
const QSize kDialogSize(820, 520);
const QString kFile = QStringLiteral("فايل");
const QStringList kSizeUnits = {QStringLiteral("بايت"), QStringLiteral("کيلوبايت"), QStringLiteral("مگابايت"),
                                QStringLiteral("گيگابايت")};

// Kinds of the files the program's dialogs offer, by suffix (lower case).
QString kindOf(const QFileInfo& info)
{
    if (info.isDir())
        return QStringLiteral("پوشه");
    static const QHash<QString, QString> kinds = {
        {QStringLiteral("backup"), QStringLiteral("فايل پشتيبان")},
        {QStringLiteral("pdf"), QStringLiteral("سند PDF")},
        {QStringLiteral("txt"), QStringLiteral("سند متني")},
        {QStringLiteral("jpg"), QStringLiteral("تصوير JPG")},
        {QStringLiteral("jpeg"), QStringLiteral("تصوير JPG")},
        {QStringLiteral("bmp"), QStringLiteral("تصوير BMP")},
        {QStringLiteral("png"), QStringLiteral("تصوير PNG")},
        {QStringLiteral("mdb"), QStringLiteral("پايگاه داده")},
    };
    const QString suffix = info.suffix();
    return kinds.value(suffix.toLower(), suffix.isEmpty() ? kFile : kFile + QLatin1Char(' ') + suffix);
}

QString sizeText(qint64 bytes)
{
    double size = static_cast<double>(bytes);
    int unit = 0;
    while (size >= 1024 && unit + 1 < kSizeUnits.size()) {
        size /= 1024;
        ++unit;
    }
    const QString number = unit == 0 ? QString::number(bytes) : QString::number(size, 'f', size < 10 ? 1 : 0);
    return number + QLatin1Char(' ') + kSizeUnits[unit];
}

// The dialog's file list in Persian: captions, sizes, kinds, and modification dates as Solar
// Hijri date texts with the time of day.
class PersianFileModel : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCaptions.size())
            return kColumnCaptions[section];
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == 0)
            return QIdentityProxyModel::data(index, role);
        const QFileInfo info = files->fileInfo(mapToSource(index));
        switch (index.column()) {
        case 1:
            return info.isDir() ? QString() : sizeText(info.size());
        case 2:
            return kindOf(info);
        case 3: {
            const QDateTime modified = info.lastModified();
            const QString date = PersianDateText(modified.date());
            return date.isEmpty() ? QString() : date + QStringLiteral("  ") + modified.toString(QStringLiteral("HH:mm"));
        }
        default:
            return QIdentityProxyModel::data(index, role);
        }
    }
};

bool hasArabicScript(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Arabic; });
}

// A mnemonic's underline breaks the joining of a Persian word: Persian captions carry none.
template <class T> void dropPersianMnemonics(const QList<T*>& items)
{
    for (T* item : items) {
        QString text = item->text();
        if (!hasArabicScript(text))
            continue;
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QStringLiteral("\x01"), QStringLiteral("&&"));
        item->setText(text);
    }
}

// A folder path reads left to right, even where the dialog around it is right to left.
class PathStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawItemText(QPainter* painter, const QRect& rect, int flags, const QPalette& palette, bool enabled,
                      const QString& text, QPalette::ColorRole role) const override
    {
        painter->save();
        painter->setLayoutDirection(text.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
        QProxyStyle::drawItemText(painter, rect, flags, palette, enabled, text, role);
        painter->restore();
    }
};

// Qt builds the dialog's widgets when it first shows; the touches that need them come then:
// no mnemonic inside a Persian word, the folder read left to right, every column wide enough
// for its Persian text.
class ShownTouches : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<QFileDialog*>(watched);
        if (!dialog || event->type() != QEvent::Show)
            return false;
        dropPersianMnemonics(dialog->findChildren<QLabel*>());
        dropPersianMnemonics(dialog->findChildren<QAbstractButton*>());
        dropPersianMnemonics(dialog->findChildren<QAction*>());
        if (auto* folder = dialog->findChild<QComboBox*>(QStringLiteral("lookInCombo"))) {
            auto* style = new PathStyle(QStyleFactory::create(dialog->style()->name()));
            style->setParent(folder);
            folder->setLayoutDirection(Qt::LeftToRight);
            folder->setStyle(style);
        }
        if (auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView")))
            for (int column = 1; column < kColumnCaptions.size(); ++column)
                list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        return false;
    }
};

// Persian words on every caption and button; the filter and the folder read left to right.
void makePersian(QFileDialog& dialog, bool save)
{
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("پوشه :"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("نام فايل :"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("نوع فايل :"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("ذخيره") : QStringLiteral("باز کردن"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("انصراف"));
    // The side list offers the home folder and the root; Qt's "Computer" entry has no Persian name.
    dialog.setSidebarUrls({QUrl::fromLocalFile(QDir::homePath()), QUrl::fromLocalFile(QDir::rootPath())});
    dialog.installEventFilter(new ShownTouches(&dialog));
    dialog.resize(dialog.size().expandedTo(kDialogSize));
}

} // namespace

CommonDialog::CommonDialog(QObject* parent) : QObject(parent) {}

bool CommonDialog::ShowOpen(QWidget* parent)
{
    return show(parent, false);
}

bool CommonDialog::ShowSave(QWidget* parent)
{
    return show(parent, true);
}

QString CommonDialog::qtFilter(const QString& filter)
{
    // "desc|pattern;pattern|desc2|pattern2" -> "desc (pattern pattern);;desc2 (pattern2)"
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

void CommonDialog::setAnswerForTests(Answer answer)
{
    testAnswer() = std::move(answer);
}

bool CommonDialog::show(QWidget* parent, bool save)
{
    std::optional<QString> chosen;
    if (testAnswer())
        chosen = testAnswer()(save ? QStringLiteral("save") : QStringLiteral("open"), FileName);
    else
        chosen = runDialog(parent, save);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

std::optional<QString> CommonDialog::runDialog(QWidget* parent, bool save)
{
    // Qt's own dialog, not the desktop's, so that it speaks Persian and reads right to left.
    QFileDialog dialog(parent, DialogTitle.isEmpty()
                                   ? (save ? QStringLiteral("ذخيره فايل") : QStringLiteral("باز کردن فايل"))
                                   : DialogTitle);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLayoutDirection(Qt::RightToLeft);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setProxyModel(new PersianFileModel(&dialog));
    if (!Filter.isEmpty()) {
        // The list shows each filter's description alone, kept left to right ("(*.Backup)").
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        QStringList filters = qtFilter(Filter).split(QStringLiteral(";;"));
        for (QString& entry : filters)
            entry = QChar(0x2066) + entry.left(entry.lastIndexOf(QStringLiteral(" ("))) + QChar(0x2069) +
                    entry.mid(entry.lastIndexOf(QStringLiteral(" (")));
        dialog.setNameFilters(filters);
    }
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    makePersian(dialog, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
