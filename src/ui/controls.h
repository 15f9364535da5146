#pragma once
// Small builders for the windows' controls: each gets its name as objectName and its place in
// twips from the left edge of the window.
#include <QString>

#include <functional>
#include <initializer_list>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QWidget;

namespace Controls {

// A caption label, right-aligned (the side its box is on in a right-to-left window).
QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 255);
// A read-only value of a record (a label the program fills): plain text at the right of its
// place, no box around it. A value too long for its place ends in "…" at its logical end, each
// run in its own direction (an e-mail shows its start, left to right), and its tool tip shows
// it whole. text() is always the whole value.
QLabel* valueLabel(QWidget* parent, const char* name, int left, int top, int width, int height = 315);
// Runs `action` when the left mouse button is released over `widget`: a label or a picture
// that acts as a button.
void onClick(QWidget* widget, std::function<void()> action);
// label(), grown to show its whole caption in its font (taller around the same middle line,
// wider to the left), for captions whose twips size suits a more compact face.
QLabel* fittedLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 255);
// A one-line text box, right-aligned for Persian text.
QLineEdit* textBox(QWidget* parent, const char* name, int left, int top, int width, int height = 315);
// A text box for Latin script or digits: centred and typed left to right.
QLineEdit* latinTextBox(QWidget* parent, const char* name, int left, int top, int width, int height = 315);
// A multi-line box with a vertical scroll bar, its lines written from the right; Tab moves to
// the next control.
QPlainTextEdit* notesBox(QWidget* parent, const char* name, int left, int top, int width, int height);
// A check box written from the right, its box at the right of its caption, on the background
// of the window (white) rather than in the button colour.
QCheckBox* checkBox(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 315);
QRadioButton* option(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height = 315);
QPushButton* button(QWidget* parent, const char* name, const QString& text, int left, int top, int width = 1440, int height = 405);
// The light grey frame drawn around a window's fields.
QFrame* frameShape(QWidget* parent, const char* name, int left, int top, int width, int height);
// Tab order: each control after the one before it.
void tabOrder(std::initializer_list<QWidget*> controls);

// Captions fitted to their text may reach over the boxes at their left: such a box is made
// narrower (its left edge stays) so that it ends a little before its caption.
void keepCaptionsClear(QWidget* window);

// Lets a fixed-size list window grow around its grid, once it has its size and its rows: it
// opens wide enough for every column (as far as the screen allows) and may then be resized by
// the user, never below its designed size. The grid takes the room gained; the controls above
// and below it keep their distance from the side edge they stand nearest to, those below the
// grid also from the bottom.
void growWithGrid(QWidget* window, QTableView* grid);

} // namespace Controls
