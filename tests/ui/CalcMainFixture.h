#pragma once

// The main window driven headless: a folder of its own for the program and
// its settings file, the recording services, the program-wide table and
// history, and what the general error report showed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dispatcher.h"
#include "platform/RecordingServices.h"
#include "support/TempFolder.h"
#include "ui/calcMain.h"

namespace hk {

class CalcMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services.executable = folder.path() / "hakarimaru.exe";
    SetErrorReport([this](const std::string& text) { errors.push_back(text); });
  }
  void TearDown() override { SetErrorReport({}); }

  std::filesystem::path settingsPath() const { return folder.path() / "hakarimaru.KZN"; }

  void writeSettings(const std::string& bytes) const { writeFile("hakarimaru.KZN", bytes); }
  void writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(folder.path() / name, std::ios::binary);
    out << bytes;
  }

  // While a folder stands in the settings file's place, every write of it
  // fails; allowWrites puts the file back as it was.
  void refuseWrites() {
    keptBytes_ = settingsBytes();
    std::filesystem::remove(settingsPath());
    std::filesystem::create_directory(settingsPath());
  }
  void allowWrites() {
    std::filesystem::remove(settingsPath());
    writeSettings(keptBytes_);
  }

  std::string settingsBytes() const {
    std::ifstream in(settingsPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::unique_ptr<TCalcMainForm> start() {
    return std::make_unique<TCalcMainForm>(services, table, history);
  }

  // The user's input: the text as typed, then a unit of each row by mouse.
  static void typeInput(TCalcMainForm& form, const std::string& text) {
    form.TargetEdit.userChanged(text);
  }
  static void chooseUnits(TCalcMainForm& form, int from, int to) {
    form.FromButton(from).click();
    form.ToButton(to).click();
  }

  static std::vector<SpeedButton*> downCategoryButtons(const TCalcMainForm& form) {
    std::vector<SpeedButton*> down;
    for (int position = 1; position <= kCategoriesPerPage; ++position) {
      if (form.CategoryButton(position).down()) down.push_back(&form.CategoryButton(position));
    }
    return down;
  }

  TempFolder folder;
  RecordingServices services;
  CategoryTable table = CategoryTable::BuiltIn();
  HistoryStore history;
  std::vector<std::string> errors;

 private:
  std::string keptBytes_;
};

}  // namespace hk
