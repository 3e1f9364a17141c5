// The program's keys are one namespace: every window is built and its keys
// listed (its shortcut table and the Alt+letters of its buttons). No window
// binds a key twice, and no window that stands beside the main window binds
// a key that the main window gives a meaning.
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/CalcMainFixture.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"
#include "ui/CalcUnt3.h"

namespace hk {
namespace {

using Key = std::pair<unsigned, unsigned>;  // key, modifiers

std::string Describe(const Key& k) {
  std::string text;
  if (k.second & kCtrl) text += "Ctrl+";
  if (k.second & kShift) text += "Shift+";
  if (k.second & kAltHeld) text += "Alt+";
  return text + std::to_string(k.first);
}

// The main window's keys that no other window may take: the F-keys of the
// program-wide hook, the categories' letters on every page, the pages, the
// history, the swap and keeping on top.
std::vector<Key> ReservedKeys(const CategoryTable& table) {
  std::vector<Key> keys;
  for (unsigned f = 0; f < 9; ++f) {
    keys.push_back({key::kF1 + f, kNoModifiers});
    keys.push_back({key::kF1 + f, kShift});
  }
  for (int c = 1; c <= kCategoryCount; ++c) {
    const std::string& name = table[c].CategoryName;
    const std::size_t amp = name.find('&');
    if (amp != std::string::npos && amp + 1 < name.size()) {
      keys.push_back({key::Char(name[amp + 1]), kAltHeld});
    }
  }
  for (char k : {'1', '2', '3', 'H', 'R', 'T'}) keys.push_back({key::Char(k), kCtrl});
  return keys;
}

// Two bindings of one key clash unless both belong to different focused
// controls, or both are buttons of one group that the key goes round.
bool Clash(const Form::KeyBinding& a, const Form::KeyBinding& b) {
  if (a.button && b.button) {
    const auto* x = dynamic_cast<const SpeedButton*>(a.button);
    const auto* y = dynamic_cast<const SpeedButton*>(b.button);
    return !(x && y && x->groupIndex() != 0 && x->groupIndex() == y->groupIndex() &&
             x->parent() == y->parent());
  }
  return !a.whileFocused || !b.whileFocused || a.whileFocused == b.whileFocused;
}

std::vector<std::string> KeysBoundTwice(Form& form) {
  const std::vector<Form::KeyBinding> keys = form.keyBindings();
  std::vector<std::string> twice;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    for (std::size_t j = i + 1; j < keys.size(); ++j) {
      const bool same = keys[i].key == keys[j].key && keys[i].modifiers == keys[j].modifiers;
      if (same && Clash(keys[i], keys[j])) {
        twice.push_back(Describe({keys[i].key, keys[i].modifiers}));
      }
    }
  }
  return twice;
}

using ProgramKeys = CalcMainTest;

TEST_F(ProgramKeys, NoWindowBindsAKeyTwiceOrTakesTheMainWindowsKeys) {
  auto main = start();
  main->HistoryButton.click();
  ASSERT_NE(CalcHistoryForm, nullptr);
  SettingsFile settings(settingsPath());
  TCalcCustomForm custom(services, *main, table, settings, folder.path(), FilePath("ZO_VEZA.HLP"));
  TCalcAboutForm about(*main);
  const std::vector<std::pair<const char*, Form*>> windows = {
      {"main", main.get()}, {"history", CalcHistoryForm}, {"custom", &custom}, {"about", &about}};
  for (const auto& [name, form] : windows) {
    EXPECT_EQ(KeysBoundTwice(*form), std::vector<std::string>{}) << name;
  }

  // The main window binds each of them as the program's; the history
  // window, which stands beside it, none. (The modal dialogs keep theirs:
  // the main window takes no key while one runs.)
  std::map<Key, bool> mainKeys;
  for (const auto& k : main->keyBindings()) mainKeys[{k.key, k.modifiers}] = k.program || k.button;
  std::vector<std::string> taken;
  for (const Key& k : ReservedKeys(table)) {
    const bool fKey = k.first >= key::kF1 && k.first < key::kF10;
    EXPECT_TRUE(fKey || mainKeys[k]) << Describe(k);
    for (const auto& h : CalcHistoryForm->keyBindings()) {
      if (h.key == k.first && h.modifiers == k.second) taken.push_back(Describe(k));
    }
  }
  EXPECT_EQ(taken, std::vector<std::string>{});
  ReleaseHistoryWindow(services);
  services.pump();
}

}  // namespace
}  // namespace hk
