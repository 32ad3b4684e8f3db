#pragma once
// The busy cursor: one setting for the whole program, not a count, put
// aside while a modal window of the program is open.
#include <vector>

namespace ui {

// The rule, apart from how the cursor is drawn.
class TBusyCursor {
 public:
  virtual ~TBusyCursor() = default;
  void Ustaw(bool wlaczony);
  bool Wlaczony() const { return wlaczony_; }
  bool Pokazany() const { return pokazany_; }
  // The normal cursor shows over a modal window; the busy cursor comes back
  // after it only if it was on and nothing touched it meanwhile. Nested
  // windows nest.
  void ModalneOtwarte();
  void ModalneZamkniete();

 protected:
  // Draws or removes the wait cursor over every window.
  virtual void Pokaz(bool) {}

 private:
  void Odswiez();

  struct Zapis {
    bool wlaczony;
    unsigned long zmiany;
  };
  bool wlaczony_ = false;
  bool pokazany_ = false;
  unsigned long zmiany_ = 0;
  std::vector<Zapis> modalne_;
};

// The rule drawn as Qt's application-wide wait cursor.
class TQtBusyCursor final : public TBusyCursor {
 public:
  ~TQtBusyCursor() override;

 protected:
  void Pokaz(bool pokaz) override;
};

}  // namespace ui
