#pragma once
// The clock box of the main window (ShockwaveFlash1): plays the looping clock animation from a
// file, scaled to show all of it, with the hands at the time of day. A missing or unreadable
// file leaves the box empty.
#include <QByteArray>
#include <QWidget>

class QSvgRenderer;

class ClockAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit ClockAnimation(QWidget* parent = nullptr);

    // Loads and starts the movie; false (and an empty box) when the file cannot be played.
    bool setMovie(const QString& path);
    QString movie() const { return m_path; }
    bool isPlaying() const;
    // Where the whole movie is drawn inside the box: as large as fits, centred.
    QRectF movieRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_path;
    QSvgRenderer* m_renderer = nullptr;
};

// The clock document with the start of every rotation moved back by the seconds since
// midnight, so that a renderer started now shows the hands at that time of day.
QByteArray clockDocumentAt(const QByteArray& document, double secondsSinceMidnight);
