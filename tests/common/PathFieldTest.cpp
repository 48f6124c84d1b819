#include "operations/CSplitByNumberDlg.h"
#include "platform/gui/ChooserStart.h"
#include "platform/gui/DialogHost.h"
#include "resources/ControlIds.h"
#include "support/Modal.h"
#include "support/RowName.h"
#include "support/ScriptedServices.h"
#include "support/TempDir.h"
#include "support/Ui.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using test::Modal;
using test::Ui;
namespace ids = resources::ControlIds::Split;

struct DropRow {
    const char* name;
    const char* uriList;   // nullptr: not offered
    const char* plainUtf8; // text/plain;charset=utf-8, nullptr: not offered
    Qt::DropActions actions;
    bool busy;
    const char* expected; // the field's text after the drop; nullptr: refused, text unchanged
};

class FileDropOnPathField : public testing::TestWithParam<DropRow> {};

// The drag enters, then drops, as the desktop delivers them; the field held a path before.
TEST_P(FileDropOnPathField, TakesTheFirstLocalFileWholeOrRefuses) {
    const DropRow& row = GetParam();
    const std::string before = "/home/ann/old.mp4";
    CSplitByNumberDlg dialog;
    dialog.m_strPath = before;
    dialog.m_nSegments = 2;
    Modal::run(dialog, [&](platform::Window window) {
        platform::DialogHost::setBusy(window, row.busy);
        QMimeData data;
        if (row.uriList != nullptr)
            data.setData(QStringLiteral("text/uri-list"), row.uriList);
        if (row.plainUtf8 != nullptr)
            data.setData(QStringLiteral("text/plain;charset=utf-8"), row.plainUtf8);
        auto* field = qobject_cast<QLineEdit*>(Ui::control(window, ids::path));
        ASSERT_NE(field, nullptr);
        field->deselect(); // as after a click: a drop must not land at the cursor
        const QPoint at = field->rect().center();
        QDragEnterEvent enter(at, row.actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(at, row.actions, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        platform::DialogHost::setBusy(window, false);
        EXPECT_EQ(enter.isAccepted(), row.expected != nullptr);
        EXPECT_EQ(drop.isAccepted(), row.expected != nullptr);
        EXPECT_EQ(Ui::text(window, ids::path), row.expected != nullptr ? row.expected : before);
        if (row.expected != nullptr) {
            EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
        }
    });
    EXPECT_EQ(dialog.m_strPath, before) << "a drop changes the field, not the kept path";
}

const Qt::DropActions copyOrMove = Qt::CopyAction | Qt::MoveAction;

INSTANTIATE_TEST_SUITE_P(
    Rows, FileDropOnPathField,
    testing::Values(
        DropRow{"UriListOnly", "file:///tmp/x/small%20file.dat\r\n", nullptr, copyOrMove, false,
                "/tmp/x/small file.dat"},
        DropRow{"UriListAndPlainText", "file:///tmp/%C3%A9t%C3%A9/a.bin\r\n",
                "/tmp/\xC3\xA9t\xC3\xA9/a.bin\n", copyOrMove, false,
                "/tmp/\xC3\xA9t\xC3\xA9/a.bin"},
        DropRow{"FirstOfSeveral", "# from a file manager\r\nfile:///srv/a1\r\nfile:///srv/b1\r\n",
                nullptr, Qt::CopyAction, false, "/srv/a1"},
        DropRow{"PlainPathsOnly", nullptr, "/srv/a b.bin\n/srv/c.bin\n", Qt::CopyAction, false,
                "/srv/a b.bin"},
        DropRow{"PlainFileUri", nullptr, "file:///srv/a%23b.bin", Qt::CopyAction, false,
                "/srv/a#b.bin"},
        DropRow{"RemoteFile", "sftp://host/a.bin\r\n", "sftp://host/a.bin", copyOrMove, false,
                nullptr},
        DropRow{"TextThatNamesNoFile", nullptr, "hello", Qt::CopyAction, false, nullptr},
        DropRow{"WhileAnOperationRuns", "file:///tmp/x/a.bin\r\n", nullptr, copyOrMove, true,
                nullptr},
        DropRow{"MoveOnly", "file:///tmp/x/a.bin\r\n", nullptr, Qt::MoveAction, false, nullptr}),
    test::rowName);

// Browse opens at the path on screen, typed since the last store.
TEST(Browse, StartsAtThePathInTheField) {
    CSplitByNumberDlg dialog;
    dialog.m_strPath = "/kept/a.bin";
    test::ScriptedFileChooser chooser;
    chooser.cancel();
    Modal::run(dialog, [&](platform::Window window) {
        Ui::type(window, ids::path, "/typed/b.bin");
        Ui::click(window, ids::browse);
    });
    ASSERT_EQ(chooser.requests().size(), 1u);
    EXPECT_EQ(chooser.requests()[0].startPath, "/typed/b.bin");
}

struct StartRow {
    const char* name;
    const char* path; // in the scratch folder, which holds "dir/a.bin"
    const char* directory;
    const char* selected;
};

class ChooserStartRows : public testing::TestWithParam<StartRow> {};

TEST_P(ChooserStartRows, OpensInThePathsFolderWithItsFileOrAtHome) {
    const StartRow& row = GetParam();
    test::TempDir scratch;
    std::filesystem::create_directories(scratch.path() + "/dir");
    std::ofstream(scratch.path() + "/dir/a.bin") << "x";
    auto inScratch = [&](const char* path) {
        return path == nullptr ? QDir::homePath().toStdString() : scratch.path() + path;
    };
    const std::string field = *row.path == '\0' ? "" : scratch.path() + row.path;
    const platform::ChooserStart start = platform::ChooserStart::forPath(field);
    EXPECT_EQ(start.directory, inScratch(row.directory));
    EXPECT_EQ(start.name, row.selected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChooserStartRows,
                         testing::Values(StartRow{"ExistingFile", "/dir/a.bin", "/dir", "a.bin"},
                                         StartRow{"NameNotYetThere", "/dir/new.bin", "/dir",
                                                  "new.bin"},
                                         StartRow{"AFolder", "/dir", "/dir", ""},
                                         StartRow{"FolderGone", "/gone/a.bin", nullptr, ""},
                                         StartRow{"EmptyField", "", nullptr, ""}),
                         test::rowName);

} // namespace
