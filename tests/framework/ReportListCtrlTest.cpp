#include "framework/CReportListCtrl.h"
#include "framework/ControlIds.h"
#include "framework/Dialog.h"
#include "framework/ReportListRules.h"
#include "resources/DialogResource.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace kelto::framework::test {
namespace {

using Notice = std::tuple<int, int, int>;  // row, new state, old state
constexpr int SEL = CReportListCtrl::LVIS_SELECTED;
constexpr int FOC = CReportListCtrl::LVIS_FOCUSED;

TEST(ReportListRules, WidthsAlignmentsAndHighlight) {
    EXPECT_EQ(columnWidthForHeading(0), 15);
    EXPECT_EQ(columnWidthForHeading(63), 78);

    EXPECT_EQ(alignmentForFormat(LVCFMT_LEFT), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(alignmentForFormat(LVCFMT_RIGHT), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(alignmentForFormat(LVCFMT_CENTER), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(alignmentForFormat(0x800 | LVCFMT_CENTER), Qt::AlignHCenter | Qt::AlignVCenter);  // other flags ignored

    // drop-highlighted, selected, list has focus, shows its selection always
    EXPECT_TRUE(rowShowsHighlight(true, false, false, false));
    EXPECT_TRUE(rowShowsHighlight(false, true, true, false));
    EXPECT_TRUE(rowShowsHighlight(false, true, false, true));
    EXPECT_FALSE(rowShowsHighlight(false, true, false, false));
    EXPECT_FALSE(rowShowsHighlight(false, false, true, true));

    // row from 0, label from 17, first column to 60, columns to 120, client to 300
    EXPECT_EQ(highlightSpan(HighlightMode::FirstLabel, 0, 17, 60, 120, 300), (Span{17, 60}));
    EXPECT_EQ(highlightSpan(HighlightMode::AllColumns, 0, 17, 60, 120, 300), (Span{0, 120}));
    EXPECT_EQ(highlightSpan(HighlightMode::WholeRow, 0, 17, 60, 120, 300), (Span{0, 300}));
    EXPECT_EQ(highlightSpan(HighlightMode::WholeRow, -10, 7, 50, 400, 300), (Span{-10, 400}));  // columns wider than the client
}

QFont knownFont() {
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(20);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

TEST(ReportListColumns, WidthIsTheHeadingInTheListsFontPlus15AndSubItemDefaultsToTheIndex) {
    CReportListCtrl list;
    EXPECT_EQ(list.highlightMode(), HighlightMode::WholeRow);
    list.setFont(knownFont());
    list.header()->setFont(QFont("DejaVu Serif", 8));  // the heading's own font does not count
    const int textWidth = QFontMetrics(knownFont()).horizontalAdvance("TV CHANNEL");
    ASSERT_GT(textWidth, 100);  // 10 characters of a 20-pixel monospaced font

    EXPECT_EQ(list.InsertColumn(0, "TV CHANNEL"), 0);
    EXPECT_EQ(list.header()->sectionSize(0), textWidth + 15);
    EXPECT_EQ(list.columnSubItem(0), 0);
    EXPECT_EQ(list.InsertColumn(5, "CH", -1, CReportListCtrl::kAllColumnParts, LVCFMT_CENTER), 1);  // beyond the end: appended
    EXPECT_EQ(list.columnSubItem(1), 1);
    EXPECT_EQ(list.header()->sectionSize(1), QFontMetrics(knownFont()).horizontalAdvance("CH") + 15);
    EXPECT_EQ(list.headerItem()->text(1), "CH");
    EXPECT_EQ(list.headerItem()->textAlignment(1), int(Qt::AlignHCenter | Qt::AlignVCenter));
    EXPECT_EQ(list.InsertColumn(-1, "X"), -1);
    EXPECT_EQ(list.columnCount(), 2);
}

TEST(ReportListColumns, InsertingBeforeExistingColumnsMovesTheirCellsAndWidths) {
    CReportListCtrl list;
    list.InsertColumn(0, "A");
    list.InsertColumn(1, "B", -1, CReportListCtrl::kAllColumnParts, LVCFMT_RIGHT);
    list.SetColumnWidth(1, 77);
    list.SetRowText(0, 0, "a0");
    list.SetRowText(0, 1, "b0");
    EXPECT_EQ(list.InsertColumn(1, "New column", 4), 1);
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.headerItem()->text(2), "B");
    EXPECT_EQ(list.columnFormat(2), LVCFMT_RIGHT);
    EXPECT_EQ(list.header()->sectionSize(2), 77);
    EXPECT_EQ(list.columnSubItem(1), 4);
    EXPECT_EQ(list.itemText(0, 0), "a0");
    EXPECT_EQ(list.itemText(0, 1), "");
    EXPECT_EQ(list.itemText(0, 2), "b0");
    EXPECT_EQ(list.topLevelItem(0)->textAlignment(2), int(Qt::AlignRight | Qt::AlignVCenter));
}

TEST(ReportListColumns, SetColumnWidthTurnsOnHotTrackingOfTheHeading) {
    CReportListCtrl list;
    list.InsertColumn(0, "CH");
    EXPECT_FALSE(list.headingHotTracking());
    list.SetColumnWidth(0, 36);
    EXPECT_TRUE(list.headingHotTracking());
    EXPECT_TRUE(list.header()->testAttribute(Qt::WA_Hover));
    EXPECT_EQ(list.header()->sectionSize(0), 36);
}

TEST(ReportListRows, ColumnZeroInsertsARowOtherColumnsOnlyChangeExistingRows) {
    CReportListCtrl list;
    list.InsertColumn(0, "CH");
    list.InsertColumn(1, "TV CHANNEL");
    QPixmap green(15, 15);
    green.fill(Qt::green);
    list.setSmallImages({green, green, green, green, green, green});

    EXPECT_EQ(list.SetRowText(0, 0, "1"), 0);
    EXPECT_EQ(list.SetRowText(1, 0, "3", 4), 1);
    EXPECT_EQ(list.SetRowText(1, 0, "2"), 1);  // inserted before the row that was 1
    EXPECT_EQ(list.SetRowText(9, 0, "4"), 3);  // beyond the end: the next row
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.itemText(1, 0), "2");
    EXPECT_EQ(list.itemText(2, 0), "3");
    EXPECT_EQ(list.rowImage(2), 4);
    EXPECT_FALSE(list.topLevelItem(2)->icon(0).isNull());
    EXPECT_EQ(list.rowImage(1), -1);
    EXPECT_TRUE(list.topLevelItem(1)->icon(0).isNull());

    EXPECT_EQ(list.SetRowText(2, 1, "CH9"), 2);
    EXPECT_EQ(list.itemText(2, 1), "CH9");
    EXPECT_EQ(list.SetRowText(4, 1, "CH11"), -1);  // no row 4: nothing changes
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.SetRowText(0, 2, "x"), -1);     // no column 2

    EXPECT_TRUE(list.SetItemText(2, 1, "CH10"));
    EXPECT_EQ(list.itemText(2, 1), "CH10");
    EXPECT_FALSE(list.SetItemText(4, 0, "x"));
    EXPECT_FALSE(list.SetItemText(0, 2, "x"));

    list.DeleteAllColumns();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 0);
}

class ReportListStates : public ::testing::Test {
protected:
    ReportListStates() {
        list.InsertColumn(0, "CH");
        for (int row = 0; row < 4; ++row) list.SetRowText(row, 0, QString("CH%1").arg(row + 2));
        list.setSelectionMode(QAbstractItemView::SingleSelection);
        QObject::connect(&list, &CReportListCtrl::rowStateChanged,
                         [this](int row, int newState, int oldState) { notices.emplace_back(row, newState, oldState); });
    }
    CReportListCtrl list;
    std::vector<Notice> notices;
};

TEST_F(ReportListStates, SelectingAndFocusingIsOneNoticePerRowWithTheLosersFirst) {
    list.setRowState(1, true, true);
    EXPECT_EQ(notices, (std::vector<Notice>{{1, SEL | FOC, 0}}));
    EXPECT_EQ(list.selectedAndFocusedRow(), 1);
    notices.clear();
    list.setRowState(3, true, true);  // single selection: row 1 loses both
    EXPECT_EQ(notices, (std::vector<Notice>{{1, 0, SEL | FOC}, {3, SEL | FOC, 0}}));
    EXPECT_FALSE(list.isRowSelected(1));
    notices.clear();
    list.setRowState(3, true, true);  // no change, no notice
    EXPECT_TRUE(notices.empty());
}

TEST_F(ReportListStates, ASelectedButNotFocusedRowIsNotTheSelectedAndFocusedRow) {
    list.setSelectionMode(QAbstractItemView::MultiSelection);
    list.setRowState(0, true, false);
    list.setRowState(2, false, true);
    EXPECT_EQ(list.rowState(0), SEL);
    EXPECT_EQ(list.rowState(2), FOC);
    EXPECT_EQ(list.selectedAndFocusedRow(), -1);
    list.setRowState(2, true, true);
    EXPECT_EQ(list.rowState(0), SEL);  // multiple selection keeps the others
    EXPECT_EQ(list.selectedAndFocusedRow(), 2);
    EXPECT_EQ(list.selectedAndFocusedRow(2), -1);  // only the first two rows looked at
    list.setRowState(2, true, false);
    EXPECT_EQ(list.rowState(2), SEL);
    EXPECT_EQ(list.selectedAndFocusedRow(), -1);
}

TEST_F(ReportListStates, AClickIsOneNoticePerRowAsAProgramsSelection) {
    list.resize(200, 200);
    list.show();
    list.setRowState(0, true, true);
    notices.clear();
    const QRect row2 = list.visualItemRect(list.topLevelItem(2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row2.center());
    EXPECT_EQ(notices, (std::vector<Notice>{{0, 0, SEL | FOC}, {2, SEL | FOC, 0}}));
    EXPECT_EQ(list.selectedAndFocusedRow(), 2);
}

TEST_F(ReportListStates, RemovingRowsSendsNoNoticeAndLeavesNoRowFocused) {
    list.setRowState(1, true, true);
    notices.clear();
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(list.selectedAndFocusedRow(), -1);
    for (int row = 0; row < list.rowCount(); ++row) EXPECT_EQ(list.rowState(row), 0) << row;
    list.setRowState(2, true, true);  // the rows that moved up are reported by their new index
    EXPECT_EQ(notices, (std::vector<Notice>{{2, SEL | FOC, 0}}));
    notices.clear();
    list.DeleteAllItems();
    EXPECT_TRUE(notices.empty());
    EXPECT_FALSE(list.DeleteItem(0));
}

// Owner-drawn rows on rendered pixels: white window, red highlight, blue highlight text.
class ReportListPainting : public ::testing::Test {
protected:
    ReportListPainting() {
        QPalette colours = list.palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            colours.setColor(group, QPalette::Base, Qt::white);
            colours.setColor(group, QPalette::Text, Qt::black);
            colours.setColor(group, QPalette::Highlight, Qt::red);
            colours.setColor(group, QPalette::HighlightedText, Qt::blue);
        }
        list.setPalette(colours);
        list.setFont(knownFont());
        list.resize(320, 200);
        list.InsertColumn(0, "CH");
        list.InsertColumn(1, "NAME");
        list.SetColumnWidth(0, 80);
        list.SetColumnWidth(1, 80);
        QPixmap green(15, 15);
        green.fill(Qt::green);
        list.setSmallImages({green});
        for (int row = 0; row < 3; ++row) {
            list.SetRowText(row, 0, "W", 0);
            list.SetRowText(row, 1, "W");
        }
        list.setOwnerDraw(true);
        list.setShowSelectionAlways(true);
        list.setRowState(1, true, false);
    }
    QImage render() { return list.viewport()->grab().toImage(); }
    // The colour at `x` in the middle of row `row`, just above the text's baseline area.
    QColor at(const QImage& image, int row, int x) {
        const QRect rect = list.visualItemRect(list.topLevelItem(row));
        return image.pixelColor(x, rect.top() + 1);
    }
    bool rowHasColour(const QImage& image, int row, QColor colour) {
        const QRect rect = list.visualItemRect(list.topLevelItem(row));
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == colour) return true;
        return false;
    }
    CReportListCtrl list;
};

TEST_F(ReportListPainting, TheThreeHighlightModesReachLabelColumnsOrTheWholeRow) {
    const int labelGap = 16;  // between the 15-pixel image and the label
    QImage image = render();  // whole row (the default)
    EXPECT_EQ(at(image, 1, 40), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, 120), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, 250), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, labelGap), QColor(Qt::red));
    EXPECT_EQ(at(image, 0, 250), QColor(Qt::white));
    EXPECT_EQ(at(image, 2, 40), QColor(Qt::white));
    EXPECT_TRUE(rowHasColour(image, 1, Qt::blue));    // highlight text
    EXPECT_FALSE(rowHasColour(image, 1, Qt::black));
    EXPECT_TRUE(rowHasColour(image, 2, Qt::black));

    list.setHighlightMode(HighlightMode::AllColumns);
    image = render();
    EXPECT_EQ(at(image, 1, 40), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, 150), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, 250), QColor(Qt::white));

    list.setHighlightMode(HighlightMode::FirstLabel);
    image = render();
    EXPECT_EQ(at(image, 1, 40), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, labelGap), QColor(Qt::white));  // the image's side is not the label
    EXPECT_EQ(at(image, 1, 120), QColor(Qt::white));
    EXPECT_TRUE(rowHasColour(image, 1, Qt::black));        // the second column's text stays plain
}

TEST_F(ReportListPainting, ASelectionShowsOnlyWithFocusOrShowAlwaysADropTargetAlways) {
    list.setShowSelectionAlways(false);
    QImage image = render();  // the list has no keyboard focus
    EXPECT_EQ(at(image, 1, 250), QColor(Qt::white));
    list.setDropHighlightedRow(2);
    image = render();
    EXPECT_EQ(at(image, 2, 250), QColor(Qt::red));
    EXPECT_EQ(at(image, 1, 250), QColor(Qt::white));
}

TEST_F(ReportListPainting, TheFocusedRowGetsAFocusRectangleOnlyWhileTheListHasTheFocus) {
    QWidget window;
    auto* other = new QLineEdit(&window);
    other->move(0, 200);
    list.setParent(&window);
    window.resize(340, 240);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    ASSERT_FALSE(list.hasFocus());
    auto topLineHasBlue = [this](const QImage& image) {
        const int y = list.visualItemRect(list.topLevelItem(1)).top();
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(Qt::blue)) return true;
        return false;
    };
    const QImage selectedOnly = render();
    list.setRowState(1, true, true);
    const QImage withoutListFocus = render();
    EXPECT_EQ(selectedOnly, withoutListFocus);  // no focus rectangle while the list lacks the focus
    EXPECT_FALSE(topLineHasBlue(withoutListFocus));
    list.setFocus();
    ASSERT_TRUE(list.hasFocus());
    const QImage selectedAndFocused = render();
    EXPECT_TRUE(topLineHasBlue(selectedAndFocused));  // dotted, in the highlight text colour
    list.setRowState(1, true, false);
    const QImage selectedNotFocused = render();
    EXPECT_FALSE(topLineHasBlue(selectedNotFocused));
    EXPECT_EQ(at(selectedNotFocused, 1, 250), QColor(Qt::red));  // still highlighted
    list.setParent(nullptr);
}

TEST(ReportListPlain, WithoutOwnerDrawTheListPaintsAsQtsItemViews) {
    auto build = [](QTreeWidget& view) {
        view.resize(240, 160);
        view.setRootIsDecorated(false);
        view.setIndentation(0);
        view.setUniformRowHeights(true);
        view.setAllColumnsShowFocus(true);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.header()->setStretchLastSection(false);
        view.setColumnCount(2);
        view.setHeaderLabels({"CH", "NAME"});
        view.header()->resizeSection(0, 60);
        view.header()->resizeSection(1, 60);
        for (int row = 0; row < 3; ++row) view.addTopLevelItem(new QTreeWidgetItem(QStringList{QString::number(row), "CH"}));
        view.setCurrentItem(view.topLevelItem(1));
    };
    CReportListCtrl list;
    QTreeWidget plain;
    build(list);
    build(plain);
    ASSERT_FALSE(list.ownerDraw());
    EXPECT_EQ(list.viewport()->grab().toImage(), plain.viewport()->grab().toImage());
}

TEST(ReportListFromTemplate, TheChannelPagesListIsAReportList) {
    setUiLanguage(UiLanguage::EnglishUS);
    Dialog dialog(104);
    auto* list = dialog.control<CReportListCtrl>(1008);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(controlIdOf(list), 1008);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);  // the template's properties hold
    list->DeleteAllColumns();
    EXPECT_EQ(list->InsertColumn(0, "TV CHANNEL", -1, CReportListCtrl::kAllColumnParts, LVCFMT_CENTER), 0);
    EXPECT_EQ(list->header()->sectionSize(0), list->fontMetrics().horizontalAdvance("TV CHANNEL") + 15);
    list->SetRowText(0, 0, "CH6");
    list->setRowState(0, true, true);
    EXPECT_EQ(list->selectedAndFocusedRow(), 0);
    EXPECT_TRUE(list->setProperty("ownerDraw", true));  // what a template's property sets
    EXPECT_TRUE(list->ownerDraw());
    setUiLanguage(std::nullopt);
}

}  // namespace
}  // namespace kelto::framework::test
