#pragma once

#include <QWidget>
#include <memory>

#include "farcall/datagram_rules.h"
#include "farcall/farcall_service.h"
#include "farcall/farcall_settings.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QUdpSocket;

namespace torvane::farcall {

class ListWidgetLog;

// Farcall's only window: the two settings edits, the datagram log and Exit.
class TMain final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxLogLines = 10000;  // the oldest lines go beyond this
    static constexpr int kReapIntervalMs = 250;  // how often servers that ended are reaped

    // port 0 binds any free port (tests); settingsFile is read now and written on destruction.
    explicit TMain(quint16 port = kListenPort, QString settingsFile = QString::fromLatin1(kSettingsFile),
                   QWidget* parent = nullptr);
    ~TMain() override;

    bool listening() const;
    quint16 boundPort() const;
    FarcallService& service() { return *service_; }

    QLineEdit* PathEdit() const { return pathEdit_; }
    QLineEdit* ParamEdit() const { return paramEdit_; }
    QListWidget* Log() const { return log_; }
    QPushButton* ExitButton() const { return exitButton_; }
    QPushButton* RetryButton() const { return retryButton_; }

private:
    void BuildWindow();
    void Listen();
    void ReadPendingDatagrams();
    void BrowseClick();
    LaunchSettings CurrentSettings() const;

    quint16 port_;
    QString settingsFile_;
    QLineEdit* pathEdit_ = nullptr;
    QLineEdit* paramEdit_ = nullptr;
    QPushButton* browseButton_ = nullptr;
    QListWidget* log_ = nullptr;
    QPushButton* retryButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QUdpSocket* socket_ = nullptr;
    std::unique_ptr<ListWidgetLog> logSink_;
    std::unique_ptr<FarcallService> service_;
};

}  // namespace torvane::farcall
