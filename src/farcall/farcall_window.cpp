#include "farcall/farcall_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTimer>
#include <QUdpSocket>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "farcall/farcall_settings.h"
#include "farcall/server_launcher.h"
#include "widgets/folder_browser.h"
#include "widgets/text_codec.h"
#include "widgets/window_placement.h"

namespace torvane::farcall {

// The log list as the service's output log, capped at TMain::kMaxLogLines.
class ListWidgetLog final : public core::OutputLog {
public:
    explicit ListWidgetLog(QListWidget* list) : list_(list) {}
    void AppendLine(std::string_view line) override {
        list_->addItem(widgets::ToQString(line));
        while (list_->count() > TMain::kMaxLogLines) delete list_->takeItem(0);
        ScrollToEnd();
    }
    void ReplaceLastLine(std::string_view line) override {
        if (list_->count() == 0) {
            AppendLine(line);
        } else {
            list_->item(list_->count() - 1)->setText(widgets::ToQString(line));
        }
    }
    void DeleteLastLine() override { delete list_->takeItem(list_->count() - 1); }
    void Clear() override { list_->clear(); }
    void ScrollToEnd() override { list_->scrollToBottom(); }

private:
    QListWidget* list_;
};

TMain::TMain(quint16 port, QString settingsFile, QWidget* parent)
    : QWidget(parent), port_(port), settingsFile_(std::move(settingsFile)) {
    BuildWindow();
    const LaunchSettings settings = ReadSettings(widgets::FromQString(settingsFile_));
    pathEdit_->setText(widgets::ToQString(settings.toolDirectory));
    paramEdit_->setText(widgets::ToQString(settings.parameters));
    logSink_ = std::make_unique<ListWidgetLog>(log_);
    service_ = std::make_unique<FarcallService>(*logSink_);
    // A server that ends by itself is reaped soon after, not at the next SERVER_STOP.
    auto* reaper = new QTimer(this);
    connect(reaper, &QTimer::timeout, this, [this] { service_->launcher().ReapEnded(); });
    reaper->start(kReapIntervalMs);
    Listen();
}

TMain::~TMain() {
    try {
        WriteSettings(CurrentSettings(), widgets::FromQString(settingsFile_));
    } catch (const std::exception&) {
        // Nothing to tell the user any more; the window is gone.
    }
}

void TMain::BuildWindow() {
    setWindowTitle(QStringLiteral("Farcall Shell (Torvane Tools) 1.0 - Listening on Port 6995"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QGridLayout;
    top->setHorizontalSpacing(5);
    top->addWidget(new QLabel(QStringLiteral("Path to UCC.EXE?"), this), 0, 0, 1, 2);
    pathEdit_ = new QLineEdit(this);
    top->addWidget(pathEdit_, 1, 0);
    browseButton_ = new QPushButton(QStringLiteral("..."), this);
    browseButton_->setToolTip(QStringLiteral("Browse for Folder"));
    top->addWidget(browseButton_, 1, 1, Qt::AlignTop);
    top->addWidget(new QLabel(QStringLiteral("Command Line Parameters"), this), 2, 0, 1, 2);
    paramEdit_ = new QLineEdit(this);
    top->addWidget(paramEdit_, 3, 0);
    top->setColumnStretch(0, 1);
    layout->addLayout(top);

    auto* header = new QLabel(QStringLiteral("UDP Package Log"), this);
    header->setAlignment(Qt::AlignCenter);
    header->setStyleSheet(
        QStringLiteral("QLabel { background: blue; color: white; font-weight: bold; }"));
    layout->addWidget(header);
    log_ = new QListWidget(this);
    log_->setUniformItemSizes(true);
    layout->addWidget(log_, 1);

    auto* bottom = new QHBoxLayout;
    retryButton_ = new QPushButton(QStringLiteral("Listen Again"), this);
    retryButton_->hide();
    bottom->addWidget(retryButton_);
    bottom->addStretch(1);
    exitButton_ = new QPushButton(QStringLiteral("Exit"), this);
    bottom->addWidget(exitButton_);
    layout->addLayout(bottom);

    connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(browseButton_, &QPushButton::clicked, this, &TMain::BrowseClick);
    connect(retryButton_, &QPushButton::clicked, this, &TMain::Listen);

    resize(520, 420);
    widgets::CentreOnScreen(*this);
}

void TMain::Listen() {
    if (!socket_) {
        socket_ = new QUdpSocket(this);
        connect(socket_, &QUdpSocket::readyRead, this, &TMain::ReadPendingDatagrams);
    }
    if (socket_->state() == QAbstractSocket::BoundState) return;
    if (socket_->bind(QHostAddress::AnyIPv4, port_)) {
        retryButton_->hide();
        return;
    }
    logSink_->AppendLine("Port " + std::to_string(port_) +
                         " cannot be opened (" + widgets::FromQString(socket_->errorString()) +
                         "); another program may be using it. Commands are not received until "
                         "\"Listen Again\" succeeds.");
    retryButton_->show();
}

bool TMain::listening() const {
    return socket_ && socket_->state() == QAbstractSocket::BoundState;
}

quint16 TMain::boundPort() const { return listening() ? socket_->localPort() : 0; }

LaunchSettings TMain::CurrentSettings() const {
    return {widgets::FromQString(pathEdit_->text()), widgets::FromQString(paramEdit_->text())};
}

void TMain::ReadPendingDatagrams() {
    while (socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram(kReceiveLimit);
        const QByteArray data = datagram.data();
        const QHostAddress sender = datagram.senderAddress();
        bool isV4 = false;
        const quint32 v4 = sender.toIPv4Address(&isV4);
        const QString address = isV4 ? QHostAddress(v4).toString() : sender.toString();
        service_->OnDatagram(std::string_view(data.constData(), static_cast<std::size_t>(data.size())),
                             widgets::FromQString(address), CurrentSettings());
    }
}

void TMain::BrowseClick() {
    const QString folder = widgets::BrowseForFolder(
        this, QStringLiteral("Find your SYSTEM dir..."), pathEdit_->text(),
        [](const QString& candidate) {
            return !ServerLauncher::FindTool(widgets::FromQString(candidate)).empty();
        });
    if (!folder.isEmpty()) pathEdit_->setText(folder);
}

}  // namespace torvane::farcall
