#pragma once
// The frequency table dialogs on the off-screen platform with real table files in the program
// folder of the test's own root: a channel model on the shipped country file (USA), a tuner
// controller without a card, message boxes answered and recorded, "Save As" answered by the test.
#include "channels/CTunerController.h"
#include "channels/ChannelModel.h"
#include "framework/CReportListCtrl.h"
#include "framework/ControlIds.h"
#include "framework/MessageBoxes.h"
#include "platform/Paths.h"
#include "tests/support/TestRoot.h"
#include "viewer/freq/CFreqTableAddDlg.h"
#include "viewer/freq/CFreqTableDlg.h"
#include "viewer/freq/CFreqTableModifyDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kelto::test {

class FreqDialogsRig : public ::testing::Test {
protected:
    void SetUp() override {
        platform::prepareInstallRoot();
        for (const auto& entry : std::filesystem::directory_iterator(platform::programFolder()))
            std::filesystem::remove_all(entry.path());
        model.setConfigPath((platform::windowsFolder() / "Zududaz2000.ini").string());
        framework::setMessageBoxAnswerer([this](const framework::MessageBoxRequest& r) {
            boxes.push_back(r);
            return framework::IDOK;
        });
        viewer::freq::CFreqTableDlg::setSavePathChooser([this](QWidget*) { return savePath; });
    }
    void TearDown() override {
        viewer::freq::CFreqTableDlg::setSavePathChooser(nullptr);
        framework::setMessageBoxAnswerer(nullptr);
    }

    static std::filesystem::path tablePath(const std::string& name) { return platform::programFolder() / (name + ".freq"); }
    // A table file of the given values, in file order.
    static void writeTable(const std::string& name, const std::vector<std::int32_t>& values) {
        std::string bytes;
        for (std::int32_t v : values)
            for (int i = 0; i < 4; ++i) bytes.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
        writeFile(tablePath(name), bytes);
    }
    static std::vector<std::int32_t> tableValues(const std::string& name) {
        const std::string bytes = readFile(tablePath(name));
        std::vector<std::int32_t> values;
        for (std::size_t i = 0; i + 4 <= bytes.size(); i += 4) {
            std::uint32_t v = 0;
            for (int b = 0; b < 4; ++b) v |= std::uint32_t(std::uint8_t(bytes[i + std::size_t(b)])) << (8 * b);
            values.push_back(std::int32_t(v));
        }
        return values;
    }

    static framework::CReportListCtrl* list(const QWidget* dialog, int id) {
        return qobject_cast<framework::CReportListCtrl*>(framework::findControl(dialog, id));
    }
    static std::vector<std::string> column(const QWidget* dialog, int id, int col) {
        std::vector<std::string> texts;
        if (auto* l = list(dialog, id))
            for (int row = 0; row < l->rowCount(); ++row) texts.push_back(l->itemText(row, col).toStdString());
        return texts;
    }
    static void click(QWidget* dialog, int id) {
        auto* button = qobject_cast<QAbstractButton*>(framework::findControl(dialog, id));
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    static void type(QWidget* dialog, int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(framework::findControl(dialog, id));
        ASSERT_NE(edit, nullptr) << id;
        edit->setText(text);
    }
    // Chooses entry `name` of the table list as the user does.
    static void choose(QWidget* dialog, const QString& name) {
        auto* combo = qobject_cast<QComboBox*>(framework::findControl(dialog, viewer::freq::CFreqTableDlg::kTableComboId));
        ASSERT_NE(combo, nullptr);
        const int index = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << name.toStdString();
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Runs `step` once the modal loop of the next dialog runs.
    static void whileOpen(std::function<void()> step) {
        QMetaObject::invokeMethod(qApp, std::move(step), Qt::QueuedConnection);
    }
    static QWidget* openDialog(int resourceId) {
        QWidget* window = framework::findResourceWindow(resourceId);
        return window && window->isVisible() ? window : nullptr;
    }

    ChannelModel model;
    CTunerController controller;
    int countryCode = 1;
    std::string savePath;
    std::vector<framework::MessageBoxRequest> boxes;
};

}  // namespace kelto::test
