#pragma once
// Reads a disc's multisession information with the recorder program ("cdrecord -msinfo"),
// without blocking: the job dialog keeps its log and Cancel alive meanwhile.
#include <QObject>
#include <QProcess>
#include <memory>

namespace quillon {

class AppPaths;

class MsInfoReader : public QObject {
    Q_OBJECT
public:
    explicit MsInfoReader(const AppPaths &paths, QObject *parent = nullptr);
    ~MsInfoReader() override;

    // dev= is the recorder's device argument. finished() follows, also when it cannot start.
    void start(const QString &device);
    void cancel();
    bool running() const { return m_process != nullptr; }

    // "start,next" from the tool's last line (the one before it when the last is empty);
    // empty unless both are decimal numbers.
    static QString parse(const QByteArray &output);

signals:
    // The information, or empty when it could not be read.
    void finished(const QString &msInfo);

private:
    const AppPaths &m_paths;
    std::unique_ptr<QProcess> m_process;
};

} // namespace quillon
