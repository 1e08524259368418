#pragma once
// TStyleBook: the looks a form carries for the host's own drawing, by style
// name. Its Resource holds style text in the stored forms' object notation,
// one line a string: a container block whose child blocks are the styles,
// each named by its style name and holding its settings as property lines:
//
//   object Styles: TStyleContainer
//     object comboboxstyle: TStyle
//       Fill.Color = xFF2F2F2F
//       Font.Size = 14
//     end
//   end
//
// The program's platform styles (the resources WIN10STYLE, WIN8STYLE and
// WIN7STYLE) are the same text. The setup window's skinned controls draw
// themselves and ask for none of this; the host's own parts may.

#include "skin/host/Component.h"
#include "skin/host/FormText.h"

#include <QString>
#include <QStringList>

#include <memory>

class TStyleBook : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool UseStyleManager READ UseStyleManager WRITE SetUseStyleManager)
  Q_PROPERTY(QStringList Resource READ Resource WRITE SetResource)

 public:
  explicit TStyleBook(TComponent* AOwner = nullptr);
  ~TStyleBook() override;

  // The form's controls take their host look from this book rather than the
  // platform's style.
  bool UseStyleManager() const { return FUseStyleManager; }
  void SetUseStyleManager(bool AValue) { FUseStyleManager = AValue; }

  QStringList Resource() const { return FResource; }
  // Raises ostrel::host::EFormError for text that is not style text; the
  // book keeps its styles then.
  void SetResource(const QStringList& AValue);
  // Loads the program resource of that name (see Resources.h). False when
  // there is none; malformed text raises as above.
  bool LoadFromResource(const QString& AName);

  QStringList StyleNames() const;
  // A style by name (letter case ignored), or none.
  const ostrel::host::FormObject* FindStyle(const QString& AStyleName) const;
  // One setting of a style by its dotted path, or none.
  const ostrel::host::FormValue* StyleValue(const QString& AStyleName, const QString& APath) const;

 private:
  bool FUseStyleManager = false;
  QStringList FResource;
  std::unique_ptr<ostrel::host::FormObject> FStyles;
};

namespace ostrel::host {

// The program resource holding the platform's default styles for a Windows
// version (major.minor): WIN10STYLE from 10 on, WIN8STYLE for 6.2 and 6.3,
// WIN7STYLE before; other systems take the newest.
QString PlatformStyleResource(int AMajor, int AMinor);

}  // namespace ostrel::host
