// The composition root: builds the console as the program start does, over
// whatever platform it is given (Win32 at run time, the sim in tests).
#pragma once

#include <memory>

#include "state/DebugLog.h"
#include "kit/Application.h"
#include "ports/Platform.h"
#include "ui/Unit1.h"
#include "ui/Unit10.h"
#include "ui/Unit11.h"
#include "ui/Unit12.h"
#include "ui/Unit2.h"
#include "ui/Unit3.h"
#include "ui/Unit4.h"
#include "ui/Unit5.h"
#include "ui/Unit7.h"
#include "ui/Unit8.h"
#include "ui/Unit9.h"

namespace tavlen {

class Console {
 public:
  // Sets the title, creates the windows in the start-up order and shows the main
  // window. The caller then runs the message loop (or advances the sim clock).
  explicit Console(const Platform& platform);
  ~Console();

  kit::Application app;
  DebugLog log;
  std::unique_ptr<TForm1> Form1;
  std::unique_ptr<TForm2> Form2;
  std::unique_ptr<TForm3> Form3;
  std::unique_ptr<TForm4> Form4;
  std::unique_ptr<TForm5> Form5;
  std::unique_ptr<TForm7> Form7;
  std::unique_ptr<TForm8> Form8;
  std::unique_ptr<TForm9> Form9;
  std::unique_ptr<TForm10> Form10;
  std::unique_ptr<TForm11> Form11;
  std::unique_ptr<TForm12> Form12;
};

}  // namespace tavlen
