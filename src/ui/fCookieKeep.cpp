#include "ui/fCookieKeep.h"

#include "cleaner/browser_items.h"
#include "shared/records.h"
#include "shared/settings_store.h"

namespace nullora {

fCookieKeep::fCookieKeep()
    : ui::Form("fCookieKeep"),
      Label1(*this, nullptr, "Label1"),
      txtDomains(*this, nullptr, "txtDomains"),
      cmdOk(*this, nullptr, "cmdOk"),
      cmdCancel(*this, nullptr, "cmdCancel") {
  SetCaption("Nullora - Cookies to Keep");
  SetSize(5400, 3840);
  SetBackColor(ui::kWindowBackColor);
  Label1.Move(180, 120, 4920, 480);
  Label1.SetBackColor(ui::kWindowBackColor);
  Label1.SetCaption(
      "The browsers' cookies of these sites are kept, one a line (example.org keeps mail.example.org too):");
  txtDomains.SetMultiLine(true);
  txtDomains.Move(180, 660, 4920, 2040);
  cmdOk.Move(2340, 2820, 1335, 375);
  cmdOk.SetCaption("OK");
  cmdCancel.Move(3765, 2820, 1335, 375);
  cmdCancel.SetCaption("Cancel");
  cmdCancel.SetCancel(true);
  cmdOk.Click = [this] { cmdOk_Click(); };
  cmdCancel.Click = [this] { Unload(); };
}

void fCookieKeep::Form_Load() {
  std::string lines;
  for (const std::string& domain : CookieKeepList(CookieKeepSetting))
    lines += (lines.empty() ? "" : "\r\n") + domain;
  txtDomains.SetText(lines);
}

void fCookieKeep::cmdOk_Click() {
  // Lines, blanks or ";" between them: the same list either way.
  std::string text = txtDomains.Text();
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == ' ' || c == ',') c = ';';
  }
  std::string stored;
  for (const std::string& domain : CookieKeepList(text)) stored += (stored.empty() ? "" : ";") + domain;
  CookieKeepSetting = stored;
  SaveSetting("OpCookieKeepList", stored);
  Unload();
}

}  // namespace nullora
