#include "editor/tfind_in_files.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <chrono>

#include "core/interaction.h"
#include "core/throttled_event_pump.h"
#include "editor/search_dialog_parts.h"
#include "shell/busy_state.h"
#include "shell/command_boundary.h"
#include "shell/qt_interaction.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

using widgets::FromQString;
using widgets::ToQString;

namespace {

// How often a running search lets window messages through: the log, the status line and the
// Cancel button keep up without a repaint for every hit.
constexpr auto kPumpInterval = std::chrono::milliseconds(20);

}  // namespace

TFindInFiles::TFindInFiles(Services services, QWidget* parent) : QDialog(parent), services_(std::move(services)) {
    setObjectName(QStringLiteral("TFindInFiles"));
    setWindowTitle(QStringLiteral("Find in files..."));
    setWindowFlag(Qt::Tool);
    auto* column = new QVBoxLayout(this);
    auto* textRow = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("&Text to Find"), this);
    findText_ = NewHistoryCombo(this, "FindText");
    label->setBuddy(findText_);
    textRow->addWidget(label);
    textRow->addWidget(findText_, 1);
    column->addLayout(textRow);

    auto* body = new QHBoxLayout;
    auto* group = new QGroupBox(QStringLiteral(" Location "), this);
    group->setObjectName(QStringLiteral("Location"));
    auto* groupColumn = new QVBoxLayout(group);
    for (int i = 0; i < 5; ++i) {
        locations_[i] = new QRadioButton(QString::fromLatin1(kLocationCaptions[i]), group);
        groupColumn->addWidget(locations_[i]);
    }
    SetLocation(SearchLocation::AllObjects);
    body->addWidget(group, 1);
    auto* buttons = new QVBoxLayout;
    go_ = new QPushButton(QStringLiteral("&GO"), this);
    go_->setObjectName(QStringLiteral("GO"));
    go_->setDefault(true);
    go_->setAutoDefault(true);
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Cancel"));
    buttons->addWidget(go_);
    buttons->addWidget(cancel_);
    buttons->addStretch(1);
    body->addLayout(buttons);
    column->addLayout(body);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("StatusLine"));
    status_->setFrameShape(QFrame::StyledPanel);
    status_->setMinimumWidth(360);
    column->addWidget(status_);

    connect(go_, &QPushButton::clicked, this, shell::Guarded(*services_.prompter, [this] { Go(); }));
    connect(cancel_, &QPushButton::clicked, this, &TFindInFiles::reject);
}

SearchLocation TFindInFiles::Location() const {
    for (int i = 0; i < 5; ++i) {
        if (locations_[i]->isChecked()) return static_cast<SearchLocation>(i);
    }
    return SearchLocation::AllObjects;
}

void TFindInFiles::SetLocation(SearchLocation location) { locations_[static_cast<int>(location)]->setChecked(true); }

void TFindInFiles::Go() {
    const QString text = findText_->currentText();
    if (running_ || text.isEmpty() || (services_.busy && services_.busy->Busy())) return;
    // The files are taken at once, so nothing the user does while they are searched (a rebuilt
    // tree, a closed project) changes what this search walks.
    const LocationFiles files = FilesOfLocation(Location(), services_.scope ? services_.scope() : SearchScope());
    if (!files.message.empty()) {
        services_.prompter->Information(files.message);
        return;
    }
    PutEditTextOnTop(*findText_);
    struct Running {
        TFindInFiles& dialog;
        shell::BusyState::Scope busy;
        explicit Running(TFindInFiles& d) : dialog(d), busy(*d.services_.busy) {
            dialog.running_ = true;
            dialog.stop_ = false;
        }
        ~Running() {
            dialog.running_ = false;
            dialog.status_->clear();
        }
    };
    {
        const Running running(*this);
        shell::QtEventPump windowMessages;
        core::ThrottledEventPump pump(windowMessages, kPumpInterval);
        FindInFilesHost host;
        host.log = services_.log;
        host.prompter = services_.prompter;
        host.pump = &pump;
        host.status = [this](const std::string& line) { status_->setText(ToQString(line)); };
        host.stopRequested = [this] { return stop_; };
        SearchFiles(FromQString(text), files.files, host);
    }
    accept();
}

void TFindInFiles::StartWith(const QString& text, const std::optional<SearchLocation>& location) {
    findText_->setEditText(text);
    if (location) SetLocation(*location);
    if (text.isEmpty()) return;
    show();
    raise();
    Go();
}

// "&Cancel" and Esc: stop a running search before its next file, else close.
void TFindInFiles::reject() {
    if (running_) {
        stop_ = true;
        return;
    }
    QDialog::reject();
}

void TFindInFiles::closeEvent(QCloseEvent* event) {
    if (running_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace torvane::editor
