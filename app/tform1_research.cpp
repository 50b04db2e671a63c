// "Generate Effective Headlines": the research run.
#include "app/tform1.h"

namespace qm {

void TForm1::BitBtn2Click() {}

} // namespace qm
