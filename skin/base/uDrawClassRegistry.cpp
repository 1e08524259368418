#include "skin/base/uDrawClassRegistry.h"

#include "skin/base/uDrawCanvas.h"
#include "skin/base/uDrawPicture.h"
#include "skin/base/uSkinPicture.h"

ostrel::skin::DrawClassRegistry& ostrel::skin::DrawClasses() {
  static DrawClassRegistry registry;
  static const bool started = (StartDrawBackend(registry), true);
  (void)started;
  return registry;
}

std::unique_ptr<TDrawCanvas> CreateDrawCanvas() { return ostrel::skin::DrawClasses().DrawCanvasClass(); }

std::unique_ptr<TSkinPicture> CreateSkinPicture() { return ostrel::skin::DrawClasses().SkinPictureClass(); }

std::unique_ptr<TSkinPictureEngine> CreateSkinPictureEngine(TSkinPicture* ASkinPicture, bool AGIFSupport) {
  const ostrel::skin::DrawClassRegistry& registry = ostrel::skin::DrawClasses();
  return AGIFSupport ? registry.SkinGIFPictureEngineClass(ASkinPicture) : registry.SkinPictureEngineClass(ASkinPicture);
}

std::unique_ptr<TDrawPicture> CreateDrawPicture(const QString& AName, const QString& ACaption, const QString& AGroup) {
  return std::make_unique<TDrawPicture>(AName, ACaption, AGroup);
}
