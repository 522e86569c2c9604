#pragma once
// Progress beside the log: a bar with the job's per cent, and a small graph of the write
// speed and the recorder's buffer over time.
#include "engine/ToolProgress.h"

#include <QWidget>

#include <deque>

class QProgressBar;

namespace quillon {

class ProgressGraph : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGraph(QWidget *parent = nullptr);
    void addSample(double speed, int buffer);
    void clear();
    QSize sizeHint() const override { return {220, 60}; }
    struct Sample {
        double speed;
        int buffer;
    };
    const std::deque<Sample> &samples() const { return m_samples; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::deque<Sample> m_samples;
    double m_maxSpeed = 1;
};

class ProgressPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget *parent = nullptr);
    void reset();
    int percent() const;
    const ProgressGraph &graph() const { return *m_graph; }

public slots:
    void onProgress(const quillon::ToolProgress &progress);

private:
    QProgressBar *m_bar;
    ProgressGraph *m_graph;
};

} // namespace quillon
