// A client process with a user tree on a bare simulated desktop, and the two
// lists the console keeps from it: shared by the user-list tests, the
// same-results checks and the tree-read benchmark.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kit/Widgets.h"
#include "platform/sim/SimProcessMemory.h"
#include "platform/sim/SimTreeView.h"
#include "tests/support/SimApp.h"
#include "userlist/UserListSync.h"

namespace tavlen::testing {

using Texts = std::vector<std::string>;

class UserTreeFixture : public SimApp {
 public:
  explicit UserTreeFixture(int client_bits = 64, int console_bits = 64) : SimApp("TForm1", "Tavlen") {
    process = desktop.NewProcess();
    memory.AddProcess(process, client_bits);
    memory.SetPointerBits(console_bits);
    const Hwnd room = desktop.CreateTopLevel("CamfrogRoom", "salon : Video Chat Room", process);
    tree_window = desktop.CreateChild(room, "SysTreeView32", "");
    tree = std::make_unique<sim::SimTreeView>(desktop, memory, tree_window);
  }

  // "Visible Users" holding `nicks`, an empty expanded "Hidden Users", the placeholder.
  void Room(const Texts& nicks) {
    tree->Clear();
    visible = tree->Add(0, "Visible Users");
    for (const auto& n : nicks) tree->Add(visible, n);
    hidden = tree->Add(0, "Hidden Users");
    tree->Add(0, " Click name to view");
  }

  Texts Read() { return ReadTreeView(desktop, &memory, tree_window, user_list, &chooser_list); }
  static Texts Items(const kit::ItemList& list) {
    Texts out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list.Item(i));
    return out;
  }
  Texts Users() const { return Items(user_list); }
  Texts Chooser() const { return Items(chooser_list); }
  // Nothing left behind in the client: no block, no open handle.
  bool Clean() const { return memory.OpenHandles() == 0 && memory.OutsideAllocations(process) == 0; }

  kit::ListBox user_list{&form, "ListBox1"};
  kit::ListBox chooser_list{&form, "ChooserList"};
  sim::SimProcessMemory memory;
  std::uint32_t process = 0;
  Hwnd tree_window = kNoWindow;
  std::unique_ptr<sim::SimTreeView> tree;
  sim::SimTreeView::Item visible = 0;
  sim::SimTreeView::Item hidden = 0;
};

}  // namespace tavlen::testing
