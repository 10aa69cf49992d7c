// The program `kalvedo`: the work-order desk in its main window.
#include "app/kalvedo.h"

int main() {
  return kv::app::runKalvedo();
}
