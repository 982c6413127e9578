#include "RecordingPrinter.h"

#include "platform/PlatformError.h"

#include <QFontMetrics>
#include <QPainter>

namespace printing::fake {

namespace {

class RecordingEngine : public QPaintEngine {
public:
    explicit RecordingEngine(RecordingDevice &device) : QPaintEngine(QPaintEngine::AllFeatures), device_(device) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    Type type() const override { return QPaintEngine::User; }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        RecordedText t;
        t.page = device_.page();
        t.baseline = p;
        t.font = item.font();
        t.top = int(p.y()) - QFontMetrics(item.font(), &device_).ascent();
        t.text = item.text();
        device_.recording().texts.push_back(t);
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            device_.recording().lines.push_back({device_.page(), lines[i]});
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            device_.recording().rects.push_back({device_.page(), rects[i]});
    }

private:
    RecordingDevice &device_;
};

class RecordingJob : public PrintJob {
public:
    RecordingJob(int width, int height, int dpi, std::shared_ptr<Recording> recording)
        : recording_(std::move(recording)), device_(width, height, dpi, *recording_)
    {
        painter_.begin(&device_);
    }
    QPainter &painter() override { return painter_; }
    void newPage() override
    {
        device_.nextPage();
        ++recording_->pages;
    }
    void finish() override
    {
        painter_.end();
        recording_->finished = true;
    }

private:
    std::shared_ptr<Recording> recording_;
    RecordingDevice device_;
    QPainter painter_;
};

} // namespace

RecordingDevice::RecordingDevice(int width, int height, int dpi, Recording &recording)
    : width_(width), height_(height), dpi_(dpi), recording_(recording),
      engine_(std::make_unique<RecordingEngine>(*this))
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine *RecordingDevice::paintEngine() const { return engine_.get(); }

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return int(width_ * 25.4 / dpi_);
    case PdmHeightMM: return int(height_ * 25.4 / dpi_);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dpi_;
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
    }
    return 0;
}

RecordingPrinter::RecordingPrinter(int pageWidth, int pageHeight, int dpi)
    : pageWidth(pageWidth), pageHeight(pageHeight), dpi(dpi)
{
}

std::unique_ptr<PrintJob> RecordingPrinter::beginJob(const QString &title)
{
    if (!failure.isEmpty())
        throw platform::PlatformError(failure);
    auto recording = std::make_shared<Recording>();
    recording->title = title;
    jobs.push_back(recording);
    return std::make_unique<RecordingJob>(pageWidth, pageHeight, dpi, recording);
}

} // namespace printing::fake
