#pragma once

#include "printing/Printer.h"

#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

// A printer for tests that records what is drawn, in device dots, page by page.
namespace printing::fake {

struct RecordedText {
    int page = 0;
    QPointF baseline;
    int top = 0; // baseline minus the font's ascent: the y a text was placed at
    QString text;
    QFont font;
};

struct RecordedLine {
    int page = 0;
    QLineF line;
};

struct RecordedRect {
    int page = 0;
    QRectF rect;
};

struct Recording {
    std::vector<RecordedText> texts;
    std::vector<RecordedLine> lines;
    std::vector<RecordedRect> rects;
    int pages = 1;
    bool finished = false;
    QString title;
};

// A page-sized paint device whose engine keeps every call.
class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height, int dpi, Recording &recording);
    ~RecordingDevice() override;

    QPaintEngine *paintEngine() const override;
    int page() const { return page_; }
    void nextPage() { ++page_; }
    Recording &recording() { return recording_; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int width_;
    int height_;
    int dpi_;
    int page_ = 0;
    Recording &recording_;
    std::unique_ptr<QPaintEngine> engine_;
};

class RecordingPrinter : public Printer {
public:
    RecordingPrinter(int pageWidth = 4800, int pageHeight = 6800, int dpi = 600);

    std::unique_ptr<PrintJob> beginJob(const QString &title) override;

    // Every job begun, in order.
    std::vector<std::shared_ptr<Recording>> jobs;
    // Raised by beginJob when set (a printer that is not there).
    QString failure;

    int pageWidth;
    int pageHeight;
    int dpi;
};

} // namespace printing::fake
