#include "shell/command_registry.h"

#include <QAction>
#include <QWidget>
#include <stdexcept>

#include "shell/main_window_rules.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

QString ShownAsItself(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

CommandRegistry::CommandRegistry(QWidget& owner, core::Prompter& prompter)
    : owner_(owner), prompter_(prompter) {}

CommandRegistry::~CommandRegistry() = default;

QAction* CommandRegistry::Register(std::string_view id, const QString& caption,
                                   const QString& statusTip, const QKeySequence& key,
                                   Qt::ShortcutContext context) {
    if (Has(id)) throw std::logic_error("Command registered twice: " + std::string(id));
    auto* action = new QAction(caption, &owner_);
    action->setObjectName(QString::fromLatin1(id.data(), static_cast<qsizetype>(id.size())));
    action->setStatusTip(statusTip);
    if (caption.contains(QStringLiteral("&&"))) {
        // A tool button reads "&" as the mark of a key: "Compile && Run" shows as "Compile & Run".
        const QString text = widgets::ToQString(CaptionText(widgets::FromQString(caption)));
        action->setIconText(ShownAsItself(text));
        action->setToolTip(text);
    }
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(context);
        // A window-wide key works wherever the owner window has the focus, menu shown or not.
        if (context == Qt::WindowShortcut || context == Qt::ApplicationShortcut) owner_.addAction(action);
    }
    Entry entry;
    entry.action = action;
    entry.statusTip = statusTip;
    entry.key = key;
    const std::string name(id);
    entries_.emplace(name, std::move(entry));
    order_.emplace_back(id);
    // Keys are given here only; should one change all the same, the editors hear of it.
    connect(action, &QAction::changed, this, [this, name] {
        Entry& changed = Find(name);
        if (changed.action->shortcut() == changed.key) return;
        changed.key = changed.action->shortcut();
        emit KeysChanged();
    });
    if (!key.isEmpty()) emit KeysChanged();
    return action;
}

const CommandRegistry::Entry& CommandRegistry::Find(std::string_view id) const {
    const auto it = entries_.find(id);
    if (it == entries_.end()) throw std::logic_error("Unknown command: " + std::string(id));
    return it->second;
}

CommandRegistry::Entry& CommandRegistry::Find(std::string_view id) {
    return const_cast<Entry&>(std::as_const(*this).Find(id));
}

QAction* CommandRegistry::Command(std::string_view id) const { return Find(id).action; }

bool CommandRegistry::Has(std::string_view id) const { return entries_.find(id) != entries_.end(); }

void CommandRegistry::ConnectSlot(std::string_view id, QObject* context, std::function<void()> slot) {
    Entry& entry = Find(id);
    entry.handled = true;
    QObject::connect(entry.action, &QAction::triggered, context, [slot = std::move(slot)] { slot(); });
}

bool CommandRegistry::HasHandler(std::string_view id) const { return Find(id).handled; }

void CommandRegistry::SetAvailability(std::string_view id, std::function<QString()> why) {
    Entry& entry = Find(id);
    entry.why = std::move(why);
    Apply(entry);
}

void CommandRegistry::Refresh() {
    for (auto& [id, entry] : entries_) Apply(entry);
}

void CommandRegistry::Apply(Entry& entry) {
    const QString reason = entry.why ? entry.why() : QString();
    entry.action->setEnabled(reason.isEmpty());
    entry.action->setStatusTip(reason.isEmpty() ? entry.statusTip : reason);
}

std::vector<QKeySequence> CommandRegistry::WindowKeys() const {
    std::vector<QKeySequence> keys;
    for (const auto& [id, entry] : entries_) {
        const Qt::ShortcutContext context = entry.action->shortcutContext();
        if (entry.action->shortcut().isEmpty()) continue;
        if (context == Qt::WindowShortcut || context == Qt::ApplicationShortcut) {
            keys.push_back(entry.action->shortcut());
        }
    }
    return keys;
}

}  // namespace torvane::shell
