// The main window's position, kept between runs in the per-user registry store.
#include "app/tform1.h"

namespace qm {

void TForm1::FormCreate() {}

void TForm1::FormClose() {}

} // namespace qm
