// The commands on the suggestion list and the idea list, and the headline file.
#include "app/tform1.h"

namespace qm {

void TForm1::Open1Click() {}
void TForm1::Save1Click() {}
void TForm1::AddselectiontoStep21Click() {}
void TForm1::BitBtn1Click() {}
void TForm1::Selectall1Click() {}
void TForm1::Selectnone1Click() {}
void TForm1::Invertselection1Click() {}
void TForm1::SavedatatoAsciifile1Click() {}
void TForm1::Clear1Click() {}
void TForm1::ListView1ColumnClick() {}

} // namespace qm
