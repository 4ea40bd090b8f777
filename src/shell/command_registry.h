#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/command_boundary.h"

class QAction;
class QWidget;

namespace torvane::core {
class Prompter;
}

namespace torvane::shell {

// Text for a place where "&" marks a key (tool buttons, tabs, menu entries): every "&" doubled,
// so that the text shows as it stands.
QString ShownAsItself(QString text);

// The IDE's commands: one action object per id (shell/command_ids.h), created once with its
// caption, status tip and key, and found by id. Menus, tool bars and context menus add that same
// object, so a key belongs to exactly one action and nobody sets a key anywhere else. Handlers
// run behind the command boundary; whether a command can run now comes from one rule per command.
class CommandRegistry final : public QObject {
    Q_OBJECT

public:
    // owner: the window whose keys the commands' keys are; prompter: shows a handler's error.
    CommandRegistry(QWidget& owner, core::Prompter& prompter);
    ~CommandRegistry();
    CommandRegistry(const CommandRegistry&) = delete;
    CommandRegistry& operator=(const CommandRegistry&) = delete;

    // Creates the command. A key with Qt::WindowShortcut works anywhere in the owner window (and
    // in every widget that shows the action); a narrower context (Qt::WidgetWithChildrenShortcut)
    // works only in the widgets the caller adds the action to. Registering an id twice throws.
    QAction* Register(std::string_view id, const QString& caption, const QString& statusTip,
                      const QKeySequence& key = {},
                      Qt::ShortcutContext context = Qt::WindowShortcut);
    // The command's action; an unknown id throws std::logic_error.
    QAction* Command(std::string_view id) const;
    bool Has(std::string_view id) const;

    // Runs handler whenever the command is triggered (menu, tool bar, key, context menu, or
    // QAction::trigger), behind the command boundary.
    template <class F>
    void Connect(std::string_view id, QObject* context, F handler) {
        ConnectSlot(id, context, Guarded(prompter_, std::move(handler)));
    }
    bool HasHandler(std::string_view id) const;

    // The command is enabled while why() is empty; otherwise it is disabled and its status tip
    // says why. Refresh() applies every rule again (call it when what the rules read changes).
    void SetAvailability(std::string_view id, std::function<QString()> why);
    void Refresh();

    // Where a handler's error is shown.
    core::Prompter& Prompter() const { return prompter_; }

    // Every key of a window-wide command: the editor control gives these up, when an editor is
    // created and again whenever KeysChanged says the set has changed.
    std::vector<QKeySequence> WindowKeys() const;
    // The ids in the order they were registered.
    const std::vector<std::string>& Ids() const { return order_; }

signals:
    // A command with a key was registered, or a command's key changed.
    void KeysChanged();

private:
    struct Entry {
        QAction* action = nullptr;
        QString statusTip;
        std::function<QString()> why;
        QKeySequence key;  // the key last seen, to tell a key change from other changes
        bool handled = false;
    };

    const Entry& Find(std::string_view id) const;
    Entry& Find(std::string_view id);
    void ConnectSlot(std::string_view id, QObject* context, std::function<void()> slot);
    static void Apply(Entry& entry);

    QWidget& owner_;
    core::Prompter& prompter_;
    std::map<std::string, Entry, std::less<>> entries_;
    std::vector<std::string> order_;
};

}  // namespace torvane::shell
