#pragma once
// CExam2View ("Экзамен-2"): the exam the other way round. A record asks a translation; its
// answers are the foreign words that share it, and it plays their recordings in turn.
#include "views/Exam1View.h"

namespace verbaro {

class CExam2View : public CExam1View {
  Q_OBJECT

 public:
  explicit CExam2View(const Platform& platform, QWidget* parent = nullptr);

  std::u16string GetModeName() const override;

 protected:
  void OnCreate() override;
  bool PrepareExamData() override { return Rules().SetAltWordsData(); }
};

}  // namespace verbaro
