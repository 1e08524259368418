#pragma once
// The drawing model's class registry: the classes it makes its draw canvas,
// pictures and picture engines from. The drawing back end fills it when it
// starts, which it does on the first use of the registry, so a helper below
// always finds a class; a test or another back end may replace any class
// afterwards.

#include <QString>

#include <memory>

class TDrawCanvas;
class TDrawPicture;
class TSkinPicture;
class TSkinPictureEngine;

namespace ostrel::skin {

struct DrawClassRegistry {
  using CanvasClass = std::unique_ptr<TDrawCanvas> (*)();
  using PictureClass = std::unique_ptr<TSkinPicture> (*)();
  using EngineClass = std::unique_ptr<TSkinPictureEngine> (*)(TSkinPicture* ASkinPicture);

  CanvasClass DrawCanvasClass = nullptr;
  PictureClass SkinPictureClass = nullptr;
  EngineClass SkinPictureEngineClass = nullptr;
  EngineClass SkinGIFPictureEngineClass = nullptr;

  // The "virtual constructor" of a class T, for the slots above.
  template <class T, class Base>
  static std::unique_ptr<Base> Make() {
    return std::make_unique<T>();
  }
  template <class T>
  static std::unique_ptr<TSkinPictureEngine> MakeEngine(TSkinPicture* ASkinPicture) {
    return std::make_unique<T>(ASkinPicture);
  }
};

// The process-wide registry, the back end started.
DrawClassRegistry& DrawClasses();

// Fills the empty slots with the back end's classes. Defined by the drawing
// back end this build links (uQtDrawCanvas); runs once, from DrawClasses.
void StartDrawBackend(DrawClassRegistry& ARegistry);

}  // namespace ostrel::skin

// A new canvas of the registered class.
std::unique_ptr<TDrawCanvas> CreateDrawCanvas();
// A new picture of the registered class.
std::unique_ptr<TSkinPicture> CreateSkinPicture();
// An engine of the GIF-capable or the plain class for ASkinPicture.
std::unique_ptr<TSkinPictureEngine> CreateSkinPictureEngine(TSkinPicture* ASkinPicture, bool AGIFSupport);
// A new draw picture with that name, caption and group.
std::unique_ptr<TDrawPicture> CreateDrawPicture(const QString& AName, const QString& ACaption, const QString& AGroup);
