#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>

#include "engine/TreeListing.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vaultrix {

class ThreadSlots;

// The folder tree tv_dir: the roots, and below each its folders and files, listed one level
// ahead of what the person has opened. The tree thread lists; the window thread inserts what it
// delivers, a limited number of entries per turn of the event loop, so a folder of 100,000
// entries never holds the window up. Only one tree thread ever runs: what is asked for while it
// runs, it lists too.
//
// Among its siblings a folder is inserted as the first child and a file appended as the last,
// in listing order (by name): folders stand above files, in reverse order.
class FolderTree final : public QObject {
    Q_OBJECT

public:
    // `sink` carries the thread's pieces to takePiece; it must outlive every tree thread.
    FolderTree(QTreeWidget* tree, ThreadSlots& slots, TreeSink& sink, TreeListing::Roots roots);
    ~FolderTree() override;

    // Empties the tree and has the roots listed anew, one level below each.
    void FillFolderTree();
    // The refresh picture: a new fill, unless a tree thread is still alive.
    void refresh();
    // Empties the tree, unless a fill is on its way: what it delivers is the fresh tree.
    void clear();
    // Starts no tree thread any more: the window closes.
    void stopListing();

    // The full path of the item: the texts from its root down, joined by the system's separator.
    QString ItemPath(const QTreeWidgetItem* item) const;
    // The item was opened: each of its folders is listed, one level ahead.
    void ExpandItem(QTreeWidgetItem* item);
    // A piece the tree thread listed, on the window thread.
    void takePiece(const TreePiece& piece);

private:
    bool requestListing(QTreeWidgetItem* item);
    void startThread();
    void insertPending();
    bool insert(const TreePiece& piece);
    QTreeWidgetItem* makeItem(const TreeEntry& entry);
    void removeItems();

    QTreeWidget* tree_;
    ThreadSlots& slots_;
    TreeSink& sink_;
    // Shared with the thread, which may outlive the window.
    std::shared_ptr<TreeListing> listing_;
    const QIcon folderImage_;
    const QIcon fileImage_;
    std::uint64_t generation_ = 0;
    bool filling_ = false;
    bool stopped_ = false;
    // The folder items by the number the thread gave them.
    std::unordered_map<std::uint64_t, QTreeWidgetItem*> folders_;
    std::deque<TreePiece> pending_;
    QTimer insertTimer_;
    // Retries a start refused while the last tree thread ends (its half-second wait).
    QTimer startTimer_;
};

}  // namespace vaultrix
