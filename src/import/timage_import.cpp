#include "import/timage_import.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>
#include <filesystem>

#include "core/interaction.h"
#include "platform/game_paths.h"
#include "shell/command_boundary.h"
#include "widgets/image_buffer.h"
#include "widgets/image_buffer_view.h"
#include "widgets/text_codec.h"
#include "widgets/window_placement.h"

namespace torvane::imports {

using widgets::FromQString;
using widgets::ToQString;

namespace {

constexpr int kPreviewSide = 256;
constexpr int kPathRole = Qt::UserRole + 1;

// The directory itself and every directory above it, from the root down.
std::vector<std::filesystem::path> Ancestors(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> chain;
    for (std::filesystem::path p = directory; !p.empty(); p = p.parent_path()) {
        chain.insert(chain.begin(), p);
        if (p == p.root_path()) break;
    }
    return chain;
}

}  // namespace

TImageImport::TImageImport(core::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), buffer_(std::make_unique<widgets::ImageBuffer>(kPreviewSide, kPreviewSide)) {
    setObjectName(QStringLiteral("TImageImport"));
    setWindowTitle(QStringLiteral("Image Import"));
    setWindowFlag(Qt::Tool);
    auto* grid = new QGridLayout(this);

    auto* files = new QVBoxLayout;
    files->addWidget(new QLabel(QStringLiteral("Select the images to import.  "), this));
    fileList_ = new QListWidget(this);
    fileList_->setObjectName(QStringLiteral("FileList"));
    fileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files->addWidget(fileList_, 1);
    grid->addLayout(files, 0, 0, 2, 1);

    auto* directories = new QVBoxLayout;
    driveList_ = new QComboBox(this);
    driveList_->setObjectName(QStringLiteral("DriveList"));
    directories->addWidget(driveList_);
    dirList_ = new QListWidget(this);
    dirList_->setObjectName(QStringLiteral("DirList"));
    directories->addWidget(dirList_, 1);
    grid->addLayout(directories, 0, 1, 2, 1);

    dims_ = new QLabel(this);
    dims_->setObjectName(QStringLiteral("Dims"));
    dims_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(dims_, 0, 2);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    view_ = new widgets::ImageBufferView(*buffer_, frame);
    view_->setObjectName(QStringLiteral("Preview"));
    view_->setFixedSize(kPreviewSide, kPreviewSide);
    frameLayout->addWidget(view_);
    grid->addWidget(frame, 1, 2, Qt::AlignTop);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Name Mask:"), this), 0, 0);
    edit1_ = new QLineEdit(QStringLiteral("img*"), this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    fields->addWidget(edit1_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Group:"), this), 1, 0);
    edit2_ = new QLineEdit(this);
    edit2_->setObjectName(QStringLiteral("Edit2"));
    fields->addWidget(edit2_, 1, 1);
    checkBox1_ = new QCheckBox(QStringLiteral("Import Textures with Flags=2 (Masked)"), this);
    checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
    fields->addWidget(checkBox1_, 0, 2);
    checkBox2_ = new QCheckBox(QStringLiteral("Disable Mips"), this);
    checkBox2_->setObjectName(QStringLiteral("CheckBox2"));
    fields->addWidget(checkBox2_, 1, 2);
    grid->addLayout(fields, 2, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    import_ = new QPushButton(QStringLiteral("&Import"), this);
    import_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    buttons->addWidget(import_);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(import_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { ImportClicked(); }));
    connect(fileList_, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem* item) { shell::RunGuarded(prompter_, [&] { PreviewFile(item); }); });
    connect(fileList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { shell::RunGuarded(prompter_, [&] { PreviewFile(item); }); });
    connect(dirList_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        shell::RunGuarded(prompter_, [&] { ShowDirectory(FromQString(item->data(kPathRole).toString())); });
    });
    connect(fileList_, &QListWidget::itemSelectionChanged, this, [this] { UpdateImportButton(); });
    // Enter in the directory list opens the directory; it does not press "&Import".
    dirList_->installEventFilter(this);
    connect(driveList_, &QComboBox::activated, this, [this](int index) {
        shell::RunGuarded(prompter_, [&] { ShowDirectory(FromQString(driveList_->itemData(index).toString())); });
    });
    FillDriveList();
}

TImageImport::~TImageImport() = default;

// The mounted volumes stand for the drives.
void TImageImport::FillDriveList() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath())) roots << volume.rootPath();
    }
    roots.sort();
    for (const QString& root : roots) driveList_->addItem(root, root);
}

void TImageImport::Prepare(const std::string& directory, const std::string& gameRoot, const std::string& package,
                           ImportHost host) {
    gameRoot_ = gameRoot;
    package_ = package;
    host_ = std::move(host);
    lastPreviewed_.clear();
    buffer_->Clear();
    dims_->clear();
    ShowDirectory(directory);
    fileList_->clearSelection();
    UpdateImportButton();
    view_->update();
}

// "&Import" needs a package to import into and a chosen file.
void TImageImport::UpdateImportButton() {
    QString why;
    if (package_.empty()) {
        why = QStringLiteral("The file being edited belongs to no package.");
    } else if (fileList_->selectedItems().isEmpty()) {
        why = QStringLiteral("Select the images to import first.");
    }
    import_->setEnabled(why.isEmpty());
    import_->setToolTip(why);
}

bool TImageImport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dirList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && dirList_->currentItem()) {
            const std::string target = FromQString(dirList_->currentItem()->data(kPathRole).toString());
            shell::RunGuarded(prompter_, [&] { ShowDirectory(target); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TImageImport::ShowDirectory(const std::string& directory) {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::weakly_canonical(platform::ResolvePath(directory), ec);
    if (ec || dir.empty()) dir = platform::ResolvePath(directory);
    directory_ = dir.string();

    dirList_->clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto chain = Ancestors(dir);
    int depth = 0;
    for (const auto& level : chain) {
        const std::string name = level == level.root_path() ? level.string() : level.filename().string();
        auto* item = new QListWidgetItem(open, QString(depth * 2, QLatin1Char(' ')) + ToQString(name), dirList_);
        item->setData(kPathRole, ToQString(level.string()));
        if (level == dir) dirList_->setCurrentItem(item);
        ++depth;
    }
    platform::ListFilter filter;
    filter.files = false;
    filter.directories = true;
    filter.includeHidden = false;
    for (const auto& entry : platform::ListDirectory(directory_, "*", filter)) {
        auto* item = new QListWidgetItem(closed, QString(depth * 2, QLatin1Char(' ')) + ToQString(entry.name), dirList_);
        item->setData(kPathRole, ToQString((dir / entry.name).string()));
    }

    fileList_->clear();
    for (const std::string& name : ListImageFiles(directory_)) fileList_->addItem(ToQString(name));

    // The volume the directory is on.
    int best = -1;
    for (int i = 0; i < driveList_->count(); ++i) {
        const QString root = driveList_->itemData(i).toString();
        if (ToQString(directory_).startsWith(root) &&
            (best < 0 || root.size() > driveList_->itemData(best).toString().size())) {
            best = i;
        }
    }
    if (best >= 0) driveList_->setCurrentIndex(best);
}

void TImageImport::PreviewFile(QListWidgetItem* item) {
    if (!item) return;
    const std::string name = FromQString(item->text());
    if (name == lastPreviewed_) return;
    lastPreviewed_ = name;
    const widgets::ImageBuffer::Drawn drawn = buffer_->Draw(platform::JoinPath(directory_, name));
    view_->repaint();
    if (drawn.info.kind == ImageKind::None) {
        dims_->clear();
    } else {
        dims_->setText(ToQString(DimsText(drawn.info)));
        QPalette colours = dims_->palette();
        colours.setColor(QPalette::WindowText, drawn.info.paletteEntries == 256
                                                   ? QApplication::palette().color(QPalette::WindowText)
                                                   : QColor(Qt::red));
        dims_->setPalette(colours);
    }
    if (!drawn.drawn) prompter_.Error(DrawErrorText(ImageKindOfName(name)));
}

void TImageImport::ImportClicked() {
    ImageImportRequest request;
    request.gameRoot = gameRoot_;
    request.package = package_;
    request.directory = directory_;
    for (int i = 0; i < fileList_->count(); ++i) {
        if (fileList_->item(i)->isSelected()) request.fileNames.push_back(FromQString(fileList_->item(i)->text()));
    }
    request.options.mask = FromQString(edit1_->text());
    request.options.group = FromQString(edit2_->text());
    request.options.masked = checkBox1_->isChecked();
    request.options.disableMips = checkBox2_->isChecked();
    if (ImportImages(request, host_) == ImportOutcome::Close) accept();
}

void TImageImport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::CentreOnScreen(*this);
}

}  // namespace torvane::imports
