#include "tests/fakes/FakeMessageBoxes.h"

namespace verbaro {

std::vector<QString> FakeMessageBoxes::Texts() const {
  std::vector<QString> texts;
  for (const auto& box : shown) texts.push_back(box.text);
  return texts;
}

}  // namespace verbaro
