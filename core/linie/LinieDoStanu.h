#pragma once
// The window program's side of the line splitter: every line goes into the
// state's line lists and is handed at once to the validator.
#include <cstddef>

#include "linie/LineSink.h"
#include "typy/Typy.h"

namespace linie {

class TLinieDoStanu final : public LineSink {
 public:
  explicit TLinieDoStanu(Typy::TStan& stan) : stan_(stan) {}

  void Part(const char* data, std::size_t n, bool faulty) override;
  void End() override;
  void Drop() override;
  void BareLf() override {
    stan_.LinieZLf.push_back(static_cast<std::int32_t>(stan_.LinieOrg.size()));
  }

 private:
  Typy::TStan& stan_;
  bool faulty_ = false;
  bool empty_ = true;
};

}  // namespace linie
