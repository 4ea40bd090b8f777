// The workspace's "Project" page: the project tree and the project commands.
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QTreeWidget>

#include "core/interaction.h"
#include "core/text.h"
#include "platform/sound_player.h"
#include "project/tnewproj.h"
#include "shell/command_boundary.h"
#include "shell/icons.h"
#include "shell/tmain.h"
#include "widgets/text_codec.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {

using widgets::FromQString;
using widgets::ToQString;

void TWorkspace::AttachProjectDialogs(project::TNewProj* newProj, project::TProjAdd* projAdd) {
    newProj_ = newProj;
    projAdd_ = projAdd;
    connect(projectTree_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { shell::RunGuarded(main_.Prompter(), [&] { ProjectTreeDblClick(item); }); });
}

int TWorkspace::RunDialog(QDialog& dialog) { return runDialog_ ? runDialog_(dialog) : dialog.exec(); }

bool TWorkspace::ProjectOpen() const { return session_ && session_->project().IsOpen(); }
bool TWorkspace::ProjectModified() const { return session_ && session_->project().modified; }

void TWorkspace::MarkProjectModified() {
    if (ProjectOpen()) session_->project().modified = true;
}

void TWorkspace::SaveProject() {
    if (!session_) return;
    session_->project().compileMode = main_.CompileModeIndex();
    try {
        session_->Save();
    } catch (const std::exception& e) {
        main_.Prompter().Error(e.what());
    }
}

void TWorkspace::ShowProject() {
    projectTree_->clear();
    projName_->setText(ToQString(session_ ? session_->Label() : "No Project Loaded..."));
    auto* root = new QTreeWidgetItem(projectTree_, {ToQString(session_ ? session_->RootCaption() : "<None>")});
    root->setIcon(0, shell::ThemeIcon("torvane-project"));
    if (!session_ || !session_->project().IsOpen()) return;
    const QIcon packageIcon = shell::ThemeIcon("package-x-generic");
    const QIcon folderIcon = shell::ThemeIcon("folder");
    auto addFile = [](QTreeWidgetItem* parent, const std::string& file) {
        (new QTreeWidgetItem(parent, {ToQString(file)}))->setIcon(0, shell::FileKindIcon(file));
    };
    for (const auto& package : session_->packages()) {
        auto* node = new QTreeWidgetItem(root, {ToQString(package.name)});
        node->setIcon(0, packageIcon);
        for (const auto& group : package.contents.groups) {
            auto* groupNode = new QTreeWidgetItem(node, {ToQString(group.name)});
            groupNode->setIcon(0, folderIcon);
            for (const auto& file : group.files) addFile(groupNode, file);
        }
        if (package.contents.intFile) addFile(node, *package.contents.intFile);
    }
    projectTree_->expandAll();
    for (int p = 0; p < root->childCount(); ++p) {
        for (int c = 0; c < root->child(p)->childCount(); ++c) CollapseSubtree(root->child(p)->child(c));
    }
}

void TWorkspace::ProjectOpened() {
    ShowProject();
    main_.Commands().Refresh();  // the project commands follow whether one is open
}

void TWorkspace::LoadProject(const std::string& path) {
    if (!session_) return;
    if (main_.Busy().Busy()) {
        main_.Prompter().Information(main_.BusyReason().toStdString());
        return;
    }
    if (!session_->Load(path)) return;
    main_.SetCompileModeIndex(session_->project().compileMode);
    session_->project().modified = false;
    ProjectOpened();
}

void TWorkspace::NewProject() {
    if (!session_ || !newProj_ || main_.Busy().Busy()) return;
    session_->OfferSave("Save the current project?");
    newProj_->Prepare(session_->NewProjectDefaults(), browser_->EditPackageNames(), true);
    newProj_->SetValidator([this](const std::string& name) { return session_->ValidateNewProject(name); });
    if (RunDialog(*newProj_) != QDialog::Accepted) return;
    session_->ApplyNew(newProj_->Values());
    ProjectOpened();
    if (main_.Prompter().Confirm("Would you like to import existing packages in to this project?",
                                 core::Buttons::YesNo) == core::Answer::Yes) {
        ImportPackagesIntoProject();
    }
}

void TWorkspace::EditProjectSettings() {
    if (!ProjectOpen() || !newProj_ || main_.Busy().Busy()) return;
    newProj_->Prepare(session_->project(), browser_->EditPackageNames(), false);
    if (RunDialog(*newProj_) != QDialog::Accepted) return;
    session_->ApplySettings(newProj_->Values());
    main_.Commands().Refresh();  // the scripts may have come or gone
}

void TWorkspace::CloseProject() {
    if (!session_ || main_.Busy().Busy()) return;
    session_->Close();
    ProjectOpened();
}

void TWorkspace::ImportPackagesIntoProject() {
    if (!ProjectOpen() || !projAdd_ || main_.Busy().Busy()) return;
    projAdd_->Prepare(session_->InstalledPackages());
    if (RunDialog(*projAdd_) != QDialog::Accepted) return;
    // The views show what was done also when adding to the game's list failed part way.
    struct ShowAgain {
        TWorkspace& w;
        ~ShowAgain() {
            w.ShowTree(w.classTree_, w.browser_->objectTree());
            w.ShowTree(w.actorTree_, w.browser_->actorTree());
            w.ShowPackageLists();
            w.ShowProject();
        }
    } showAgain{*this};
    session_->ImportPackages(projAdd_->Ticked());
}

void TWorkspace::RemovePackageFromProject() {
    QTreeWidgetItem* item = projectTree_->currentItem();
    if (!ProjectOpen() || main_.Busy().Busy() || !item || !item->parent() || item->parent()->parent()) return;
    if (session_->RemovePackage(static_cast<std::size_t>(item->parent()->indexOfChild(item)))) ShowProject();
}

void TWorkspace::ProjectTreeDblClick(QTreeWidgetItem* item) {
    if (!item || !item->parent() || !session_) return;
    const QTreeWidgetItem* parent = item->parent();
    const std::string grandparent = parent->parent() ? FromQString(parent->parent()->text(0)) : "";
    const project::ProjectNodeAction action = project::ProjectNodeActionFor(
        main_.GameRoot(), FromQString(item->text(0)), FromQString(parent->text(0)), grandparent);
    using Kind = project::ProjectNodeAction::Kind;
    switch (action.kind) {
        case Kind::OpenFile: main_.OpenSourceFile(action.path, "", ""); break;
        case Kind::OpenClass: {
            int position = browser_->FindClass(action.className, &action.package);
            if (position < 0 &&
                main_.Prompter().Confirm("The class \"" + action.className +
                                             "\" is not in the class tree.  Do you want to rebuild the class tree?",
                                         core::Buttons::YesNo) == core::Answer::Yes) {
                RebuildClassTrees();
                position = browser_->FindClass(action.className, &action.package);
            }
            if (position >= 0) {
                OpenClass(position);
            } else {
                main_.OpenSourceFile(action.path, "", "");
            }
            break;
        }
        case Kind::PlaySound: platform::PlayWaveAsync(action.path); break;
        case Kind::ViewImage:
            if (imageViewer_) imageViewer_(action.path, FromQString(item->text(0)));
            break;
        case Kind::Nothing: break;
    }
}

void TWorkspace::AddProjectFile(const std::string& package, const std::string& group, const std::string& file) {
    if (!ProjectOpen() || !session_->AddProjectFile(package, group, file)) return;
    QTreeWidgetItem* root = projectTree_->topLevelItem(0);
    auto childNamed = [](QTreeWidgetItem* parent, const std::string& caption) -> QTreeWidgetItem* {
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            if (core::EqualsIgnoringCase(FromQString(parent->child(i)->text(0)), caption)) return parent->child(i);
        }
        return nullptr;
    };
    QTreeWidgetItem* packageNode = childNamed(root, package);
    if (!packageNode) return;
    QTreeWidgetItem* groupNode = childNamed(packageNode, group);
    if (!groupNode) groupNode = new QTreeWidgetItem(packageNode, {ToQString(group)});
    new QTreeWidgetItem(groupNode, {ToQString(file)});
}

}  // namespace torvane::workspace
