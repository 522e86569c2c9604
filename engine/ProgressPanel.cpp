#include "engine/ProgressPanel.h"

#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quillon {

namespace {
constexpr size_t MaxSamples = 600;
}

ProgressGraph::ProgressGraph(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(120, 40);
}

void ProgressGraph::addSample(double speed, int buffer)
{
    m_samples.push_back({speed, buffer});
    if (m_samples.size() > MaxSamples)
        m_samples.pop_front();
    m_maxSpeed = qMax(m_maxSpeed, speed);
    update(); // painting is coalesced by the event loop
}

void ProgressGraph::clear()
{
    m_samples.clear();
    m_maxSpeed = 1;
    update();
}

void ProgressGraph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().mid().color());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (m_samples.size() < 2)
        return;
    const double w = width() - 2, h = height() - 2;
    const double step = w / double(MaxSamples - 1);
    QPainterPath speed, buffer;
    bool haveBuffer = false;
    for (size_t i = 0; i < m_samples.size(); ++i) {
        const double x = 1 + i * step;
        const QPointF ps(x, 1 + h - h * (m_samples[i].speed / m_maxSpeed));
        i == 0 ? speed.moveTo(ps) : speed.lineTo(ps);
        if (m_samples[i].buffer >= 0) {
            const QPointF pb(x, 1 + h - h * m_samples[i].buffer / 100.0);
            haveBuffer ? buffer.lineTo(pb) : buffer.moveTo(pb);
            haveBuffer = true;
        }
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 128, 0), 1.5));
    p.drawPath(speed);
    p.setPen(QPen(QColor(0, 0, 200), 1));
    p.drawPath(buffer);
}

ProgressPanel::ProgressPanel(QWidget *parent)
    : QWidget(parent)
    , m_bar(new QProgressBar(this))
    , m_graph(new ProgressGraph(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_bar);
    layout->addWidget(m_graph, 1);
    m_bar->setRange(0, 100);
    reset();
}

void ProgressPanel::reset()
{
    m_bar->setValue(0);
    m_graph->clear();
}

int ProgressPanel::percent() const { return m_bar->value(); }

void ProgressPanel::onProgress(const ToolProgress &progress)
{
    if (progress.percent >= 0)
        m_bar->setValue(int(progress.percent));
    if (progress.source == ToolProgress::Recorder && progress.speed >= 0)
        m_graph->addSample(progress.speed, progress.buffer);
}

} // namespace quillon
