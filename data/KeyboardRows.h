#pragma once
// The keys the learner types on, as rows of the characters they give: the digit row and the
// three letter rows of the physical keyboard, read from the trainer's own key tables (a US
// keyboard for French, the standard Russian one for Russian), and for French the small accented
// letters the accent keys compose, in rows under them. The statistics window draws its heatmap of
// missed characters on them.
#include <string>
#include <vector>

namespace verbaro {

enum class Alphabet { French, Russian };

std::vector<std::u16string> KeyboardRows(Alphabet alphabet);

}  // namespace verbaro
