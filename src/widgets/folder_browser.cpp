#include "widgets/folder_browser.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>

namespace torvane::widgets {

QString BrowseForFolder(QWidget* parent, const QString& caption, const QString& startFolder,
                        const std::function<bool(const QString&)>& acceptable) {
    QFileDialog dialog(parent, caption, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    auto updateOk = [&dialog, &acceptable](const QString& folder) {
        const auto boxes = dialog.findChildren<QDialogButtonBox*>();
        for (QDialogButtonBox* box : boxes) {
            if (QPushButton* ok = box->button(QDialogButtonBox::Open)) {
                ok->setEnabled(acceptable(folder));
            }
        }
    };
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, updateOk);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, updateOk);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    return acceptable(chosen) ? chosen : QString();
}

}  // namespace torvane::widgets
