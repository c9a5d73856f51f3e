// messages.ini as a hand-edited file: loading must not fail, and load, save, load
// must give back every entry in its order.
#include "base/Files.h"
#include "FuzzSupport.h"
#include "moderation/MessageCatalogue.h"

using namespace tavlen;

namespace {

// The entries a catalogue holds, in file order: used slots, then the kept lines.
std::vector<CatalogueEntry> Entries(const MessageCatalogue& c) {
  std::vector<CatalogueEntry> entries;
  for (int k = 0; k < MessageCatalogue::kSlots; ++k)
    if (!c.Slot(k).Free()) entries.push_back(c.Slot(k));
  for (const std::string& line : c.ExtraLines()) entries.push_back(MessageCatalogue::ParseLine(line));
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchFile(kMessagesFile, fuzz::AsText(data, size));

  MessageCatalogue first(path);
  first.LoadMessageCatalogue();
  const std::vector<CatalogueEntry> entries = Entries(first);
  for (const CatalogueEntry& e : entries) {
    for (const std::string* field : {&e.Category, &e.ShortcutName, &e.MessageText, &e.QuickFlag})
      FUZZ_CHECK(field->find_first_of("\r\n\xA4") == std::string::npos);
  }

  first.SaveMessageCatalogue();
  const std::string saved = ReadWholeFile(path).value();
  FUZZ_CHECK(saved.empty() || saved.ends_with("\r\n"));
  MessageCatalogue second(path);
  second.LoadMessageCatalogue();
  FUZZ_CHECK(Entries(second) == entries);

  // Once written by the console, the file is stable.
  second.SaveMessageCatalogue();
  const std::string resaved = ReadWholeFile(path).value();
  MessageCatalogue third(path);
  third.LoadMessageCatalogue();
  FUZZ_CHECK(Entries(third) == entries);
  third.SaveMessageCatalogue();
  FUZZ_CHECK(ReadWholeFile(path).value() == resaved);

  // A catalogue left alone by a load of nothing keeps its store.
  std::filesystem::remove(path);
  third.LoadMessageCatalogue();
  FUZZ_CHECK(Entries(third) == entries);
  return 0;
}
