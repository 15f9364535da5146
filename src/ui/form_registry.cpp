#include "ui/form_registry.h"

#include <QDialog>
#include <QEventLoop>
#include <QEvent>

namespace {
// Ends a local event loop when the watched widget is hidden or destroyed.
class HideWatcher : public QObject
{
public:
    HideWatcher(QWidget* widget, QEventLoop* loop) : m_loop(loop) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close)
            m_loop->quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop* m_loop;
};
} // namespace

FormRegistry& forms()
{
    static FormRegistry registry;
    return registry;
}

void FormRegistry::unload(QWidget* form)
{
    if (!form)
        return;
    for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
        if (it->second == form) {
            m_forms.erase(it);
            break;
        }
    }
    form->hide();
    form->deleteLater();
}

void FormRegistry::unloadAll()
{
    auto all = std::move(m_forms);
    m_forms.clear();
    for (auto& entry : all) {
        if (QWidget* form = entry.second.data()) {
            form->hide();
            form->deleteLater();
        }
    }
}

void FormRegistry::showModalWidget(QWidget* widget)
{
    if (!widget)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(widget)) {
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->exec();
        return;
    }
    QPointer<QWidget> guard(widget);
    QEventLoop loop;
    HideWatcher watcher(widget, &loop);
    QObject::connect(widget, &QObject::destroyed, &loop, &QEventLoop::quit);
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        guard->removeEventFilter(&watcher);
}
