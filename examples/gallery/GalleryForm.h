#pragma once
// The gallery: every skinned control of the setup window in each of its
// states, read from one stored form. The hover and press states, which no
// form stores, are given to the controls whose names end in "Hover" or
// "Down" after the form is read.

#include "skin/host/Form.h"
#include "skin/host/Resources.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>

// The stored form of the gallery window.
extern const char* const kGalleryFormText;

// The gallery's window with the pictures it draws: the program's pictures
// from APicturesDir and the state pictures made in code, installed as the
// program's resources for as long as the gallery lives.
class TGallery {
 public:
  // Registers the library and reads the form; raises on a faulty form.
  explicit TGallery(const QString& APicturesDir);
  ~TGallery();
  TGallery(const TGallery&) = delete;
  TGallery& operator=(const TGallery&) = delete;

  TForm& Form() const { return *FForm; }

 private:
  std::optional<QByteArray> FindPicture(const QString& AName) const;

  QString FPicturesDir;
  QHash<QString, QByteArray> FMadePictures;
  ostrel::host::FunctionResourceLookup FLookup;
  ostrel::host::ScopedResourceLookup FScope;
  std::unique_ptr<TForm> FForm;
};
