#pragma once
// Form1, the main window: the command menu, the background picture, the clock, today's date
// and the statistics panel. Closing it ends the program.
#include <QMainWindow>

class ClockAnimation;
class CommonDialog;
class QLabel;
class QWidget;

class Form1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    // Background, keyboard, date, counts, background picture, clock and file dialog, in this
    // order; a step that fails is skipped.
    void Form_Load();
    // Shows the picture of the file; a file that is missing or not a picture leaves the shown
    // picture as it was (and gives false).
    bool showPicture(const QString& path);

    QWidget* Shape1 = nullptr; // frame of the side panel
    QWidget* Shape2 = nullptr; // box of the clock
    QWidget* Shape3 = nullptr; // frame around the picture
    QWidget* Shape4 = nullptr; // box of the statistics panel
    QLabel* Image1 = nullptr;  // background picture, stretched over its area
    ClockAnimation* ShockwaveFlash1 = nullptr;
    QLabel* Label11 = nullptr;             // statistics heading
    QLabel* Label12 = nullptr;             // clock heading
    QLabel* Label13 = nullptr;             // "today" caption
    QLabel* Label14 = nullptr;             // today's date
    QLabel* Label1 = nullptr;              // customer caption (double click: customer list)
    QLabel* Label2 = nullptr;              // customer count
    QLabel* Label3 = nullptr;              // domain extension caption (double click: domain extension list)
    QLabel* Label4 = nullptr;              // domain extension count
    QLabel* Label5 = nullptr;              // Windows plan caption
    QLabel* Label6 = nullptr;              // Windows plan count
    QLabel* Label9 = nullptr;              // Linux plan caption
    QLabel* Label8 = nullptr;              // Linux plan count
    QLabel* Label7 = nullptr;              // order caption
    QLabel* Label10 = nullptr;             // order count
    CommonDialog* CommonDialog1 = nullptr; // file dialog of backup and restore

public Q_SLOTS:
    void win1_Click();
    void dsa_Click();
    void domin_Click();
    void defsf_Click();
    void win_Click();
    void lkdgd_Click();
    void lkjkff_Click();
    void llahf_Click();
    void lllala_Click();
    void viewsfarsh_Click();
    void renewals_Click();
    void setbackup_Click();
    void getbackup_Click();
    void optionprint_Click();
    void toolssoft_Click();
    void ab_Click();
    void exit_Click();
    void Label1_DblClick();
    void Label3_DblClick();

protected:
    // The close box ends the program, without a question.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildPanel();
    void buildClock();
    void buildStatistics();
    // Widens the side panel's boxes when a bold heading is wider than its box in this font.
    void widenPanelForHeadings();
    void placeInPanel(QWidget* widget, int left, int top, int width, int height);
    // The picture fills the space left of the side panel, which stands at the right edge.
    void layOut();
    QWidget* m_panel = nullptr;
    int m_panelGrowth = 0; // pixels the side panel grew by for its headings
    void countSteps();
};
