#pragma once
// The window framework (src/ui): what every window of the program is built on. Form is the base
// of the task windows: loaded once through the registry (ui/form_registry.h, which runs
// Form_Load), shown modally, hidden (state kept) or unloaded (destroyed; the next reference
// loads it afresh). Beside it: control builders (ui/controls.h) in twips (ui/geometry.h), the
// record-window flow of editors and lists (ui/record_window.h), the Persian message box, the
// file dialog and the program-wide events. The framework uses storage/ and calendar/ only.
#include <QDialog>

class Form : public QDialog
{
    Q_OBJECT
public:
    explicit Form(QWidget* parent = nullptr);

    // The window's load step; the registry runs it once, right after construction.
    virtual void Form_Load() {}

    // Shows the window modally; returns when it is hidden or unloaded.
    void showModal();
    // Closes and destroys the window; the next reference loads it afresh.
    void unload();

protected:
    // White background, right-to-left layout, caption and the fixed client size in twips.
    void setupWindow(const QString& caption, int clientWidthTwips, int clientHeightTwips);
    // The close box unloads the window, as for any window of the program.
    void closeEvent(QCloseEvent* event) override;
    // Escape does not close a window of this program.
    void keyPressEvent(QKeyEvent* event) override;
};
