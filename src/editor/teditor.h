#pragma once

#include <QMdiSubWindow>
#include <array>
#include <string>

class QLabel;

namespace torvane::editor {

class EditorHost;
class TSyntaxMemo;

// One open file: the editor control and a four-panel status bar, in the main window's
// multiple-document area. The caption is the file's full path and its identity.
class TEditor final : public QMdiSubWindow {
    Q_OBJECT

public:
    TEditor(EditorHost& host, QWidget* parent = nullptr);

    TSyntaxMemo* Memo1() const { return memo_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    const std::string& Package() const { return package_; }
    const std::string& ClassName() const { return className_; }
    void SetPackageAndClass(const std::string& package, const std::string& className);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void SetCloseWithoutAsking(bool value) { closeWithoutAsking_ = value; }
    // Set once the window has agreed to close (it is destroyed soon after).
    bool IsClosed() const { return closed_; }
    // The close question: asks to save a modified text (and saves on Yes); false on Cancel or
    // when the save failed. Closing asks it; a caller that closes several editors together asks
    // every one first and then closes them with CloseAnswered, which asks nothing more.
    bool CloseQuery();
    // Restored and active, in front of the other editors.
    void BringToFront();
    void CloseAnswered();

    // Loads the caption's file (an absent file leaves the editor empty); errors propagate.
    void LoadFile();
    // Writes the text to the caption's file; errors propagate and the editor stays modified.
    void SaveFile();
    bool Modified() const;

    void QuickGotoLine(int line, bool highlight);
    void RefreshStatus();
    std::array<QString, 4> StatusPanels() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildContextMenu();
    int StoredWindowState() const;

    EditorHost& host_;
    TSyntaxMemo* memo_ = nullptr;
    std::array<QLabel*, 4> panels_{};
    std::string caption_;
    std::string package_;
    std::string className_;
    bool closeWithoutAsking_ = false;
    bool applyingState_ = false;
    bool shownOnce_ = false;
    bool closed_ = false;
    bool answered_ = false;
};

}  // namespace torvane::editor
