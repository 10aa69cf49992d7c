// The look of a confirmation box: a MessageDlg of type 3 grabbed on the offscreen platform and
// compared with the stored reference picture, pixel by pixel with a small tolerance (font
// rendering may differ by a shade). KV_WRITE_REFERENCE=1 writes the reference anew.
#include "uitest.h"

#include <QImage>
#include <QPixmap>

#include <cstdlib>

#include "ui/dialogs/messagedlg.h"
#include "ui/forms/form.h"

using namespace kv;
using namespace kv::ui;
using namespace kv::ui::test;

namespace {

const char* kReference = KV_TEST_DATA_DIR "/ui/messagedlg_confirmation.png";

class Screenshot : public UiTest {};

}  // namespace

TEST_F(Screenshot, ConfirmationBoxLooksAsItsReference) {
  MessageDlgRequest request;
  request.text =
      "Da li ste sigurni da \x9E"
      "elite da obri\x9A"
      "ete nalog 00057?";
  request.type = 3;
  request.buttons = 1;
  Value dialog = makeMessageDlg(request);
  Form* form = libraryAs<Form>(dialog);
  form->setVisible(true);
  const QImage shot = form->windowIfMade()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  form->destroy();
  ASSERT_FALSE(shot.isNull());
  expectLikeReference(shot, kReference);
}
