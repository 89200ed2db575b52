#include "editor/FolderTree.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/BackgroundThreads.h"
#include "engine/ThreadSlots.h"
#include "platform/FileSystem.h"

namespace vaultrix {
namespace {

constexpr int kIdRole = Qt::UserRole;          // the thread's number of a folder item
constexpr int kListedRole = Qt::UserRole + 1;  // the folder's listing was asked for
// Entries inserted per turn of the event loop: a few milliseconds' work.
constexpr std::size_t kEntriesPerTurn = 2000;
constexpr int kStartRetryMs = 100;

}  // namespace

FolderTree::FolderTree(QTreeWidget* tree, ThreadSlots& slots, TreeSink& sink,
                       TreeListing::Roots roots)
    : tree_(tree),
      slots_(slots),
      sink_(sink),
      listing_(std::make_shared<TreeListing>(std::move(roots))),
      // Images 0 and 2 of the tree's image list (icons 102, 103, 101); 1 is never used.
      folderImage_(QStringLiteral(":/icons/102.png")),
      fileImage_(QStringLiteral(":/icons/101.png")) {
    tree_->setIconSize(QSize(16, 16));
    // Rows of one height let the view lay out a folder of many entries at once.
    tree_->setUniformRowHeights(true);
    // Long names scroll sideways instead of being cut short.
    tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    insertTimer_.setSingleShot(true);
    insertTimer_.setInterval(0);
    connect(&insertTimer_, &QTimer::timeout, this, &FolderTree::insertPending);
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(kStartRetryMs);
    connect(&startTimer_, &QTimer::timeout, this, &FolderTree::startThread);
}

FolderTree::~FolderTree() = default;

void FolderTree::FillFolderTree() {
    ++generation_;
    filling_ = true;
    removeItems();
    if (listing_->queueFill(generation_)) startThread();
}

void FolderTree::refresh() {
    if (!slots_.IsAlive(ThreadSlots::kTreeSlot) && !startTimer_.isActive()) FillFolderTree();
}

void FolderTree::clear() {
    if (!filling_) removeItems();
}

void FolderTree::stopListing() {
    stopped_ = true;
    startTimer_.stop();
}

void FolderTree::removeItems() {
    tree_->clear();
    folders_.clear();
    pending_.clear();
}

QString FolderTree::ItemPath(const QTreeWidgetItem* item) const {
    std::vector<std::string> texts;
    for (; item != nullptr; item = item->parent()) texts.push_back(item->text(0).toStdString());
    if (texts.empty()) return {};
    std::string path = texts.back();
    for (auto text = texts.rbegin() + 1; text != texts.rend(); ++text) {
        path = fs::joinPath(path, *text);
    }
    return QString::fromStdString(path);
}

void FolderTree::ExpandItem(QTreeWidgetItem* item) {
    bool startOwed = false;
    for (int i = 0; i < item->childCount(); ++i) {
        startOwed = requestListing(item->child(i)) || startOwed;
    }
    if (startOwed) startThread();
}

// A folder is listed once per fill; true when a thread is to be started for it.
bool FolderTree::requestListing(QTreeWidgetItem* item) {
    const QVariant id = item->data(0, kIdRole);
    if (!id.isValid() || item->data(0, kListedRole).toBool()) return false;
    item->setData(0, kListedRole, true);
    return listing_->queueFolder(generation_, id.toULongLong(), ItemPath(item).toStdString());
}

void FolderTree::startThread() {
    if (stopped_) return;
    const bool started = slots_.StartSlot(
        ThreadSlots::kTreeSlot,
        [listing = listing_, &sink = sink_](SlotControl& control) {
            TreeThread(control, [&](SlotControl& own) { listing->serve(own, sink); });
        },
        false);
    if (!started) startTimer_.start();
}

void FolderTree::takePiece(const TreePiece& piece) {
    if (piece.generation != generation_) return;
    pending_.push_back(piece);
    if (!insertTimer_.isActive()) insertTimer_.start();
}

void FolderTree::insertPending() {
    std::size_t inserted = 0;
    bool startOwed = false;
    while (!pending_.empty() && inserted < kEntriesPerTurn) {
        const TreePiece piece = std::move(pending_.front());
        pending_.pop_front();
        inserted += std::max<std::size_t>(piece.entries.size(), 1);
        startOwed = insert(piece) || startOwed;
    }
    if (startOwed) startThread();
    if (!pending_.empty()) insertTimer_.start();
}

bool FolderTree::insert(const TreePiece& piece) {
    if (piece.fillEnded) {
        filling_ = false;
        // The focus as a click gives it: any other reason makes the tree select its first entry
        // by itself, which would offer it as a source unasked.
        if (tree_->isVisible()) tree_->setFocus(Qt::MouseFocusReason);
        return false;
    }
    if (piece.parent == 0) {
        // The roots come sorted by their text.
        for (const TreeEntry& root : piece.entries) {
            QTreeWidgetItem* item = makeItem(root);
            item->setData(0, kListedRole, true);  // the fill lists it
            tree_->addTopLevelItem(item);
        }
        return false;
    }
    const auto found = folders_.find(piece.parent);
    if (found == folders_.end()) return false;
    QTreeWidgetItem* parent = found->second;
    QList<QTreeWidgetItem*> folders;
    QList<QTreeWidgetItem*> files;
    for (const TreeEntry& entry : piece.entries) {
        (entry.folder ? folders : files).push_back(makeItem(entry));
    }
    // Each folder in turn becomes the first child, so they end in reverse order.
    std::reverse(folders.begin(), folders.end());
    parent->insertChildren(0, folders);
    parent->addChildren(files);
    // An open folder gets its new folders listed one level ahead, as opening it would have.
    bool startOwed = false;
    if (parent->isExpanded()) {
        for (QTreeWidgetItem* folder : folders) startOwed = requestListing(folder) || startOwed;
    }
    return startOwed;
}

QTreeWidgetItem* FolderTree::makeItem(const TreeEntry& entry) {
    auto* item = new QTreeWidgetItem(QStringList{QString::fromStdString(entry.name)});
    item->setIcon(0, entry.folder ? folderImage_ : fileImage_);
    if (entry.folder) {
        item->setData(0, kIdRole, QVariant::fromValue<qulonglong>(entry.id));
        folders_.emplace(entry.id, item);
    }
    return item;
}

}  // namespace vaultrix
