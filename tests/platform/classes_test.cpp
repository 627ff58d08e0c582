#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

class TShape : public TPersistent {
  QV_CLASS(TShape, TPersistent)
public:
  int Size = 0;

  // Shapes copy each other.
  void Assign(TPersistent* source) override
  {
    if (auto* shape = dynamic_cast<TShape*>(source)) {
      Size = shape->Size;
      return;
    }
    inherited::Assign(source);
  }
};

class TCircle : public TShape {
  QV_CLASS(TCircle, TShape)
};

// Knows how to copy itself into a shape, which does not know about it.
class TSketch : public TPersistent {
  QV_CLASS(TSketch, TPersistent)
public:
  int Strokes = 0;

protected:
  void AssignTo(TPersistent* dest) override
  {
    if (auto* shape = dynamic_cast<TShape*>(dest)) {
      shape->Size = Strokes;
      return;
    }
    inherited::AssignTo(dest);
  }
};

class TOther : public TPersistent {
  QV_CLASS(TOther, TPersistent)
};

AnsiString AssignErrorOf(TPersistent& dest, TPersistent* source)
{
  try {
    dest.Assign(source);
  } catch (const EConvertError& e) {
    return e.Message;
  }
  return "no error";
}

}  // namespace

TEST(TObject, KnowsItsClassAndAncestors)
{
  TCircle circle;
  TObject& object = circle;
  EXPECT_EQ("TCircle", object.ClassName());
  EXPECT_EQ(&TCircle::StaticClass(), &object.ClassType());
  EXPECT_TRUE(object.InheritsFrom(TShape::StaticClass()));
  EXPECT_TRUE(object.InheritsFrom(TObject::StaticClass()));
  EXPECT_FALSE(TShape().InheritsFrom(TCircle::StaticClass()));
  EXPECT_EQ(&TPersistent::StaticClass(), TShape::StaticClass().Parent);
}

TEST(ClassRegistry, FindsRegisteredClassesAndTheirAncestorsByName)
{
  RegisterClass(TCircle::StaticClass());
  RegisterClass(TCircle::StaticClass());
  EXPECT_EQ(&TCircle::StaticClass(), &FindClass("tcircle"));
  EXPECT_EQ(&TShape::StaticClass(), GetClass("TShape"));
  EXPECT_EQ(nullptr, GetClass("TObject"));

  UnRegisterClass(TCircle::StaticClass());
  UnRegisterClass(TShape::StaticClass());
  UnRegisterClass(TPersistent::StaticClass());
  EXPECT_EQ(nullptr, GetClass("TCircle"));
  try {
    FindClass("TCircle");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ("Class TCircle not found", e.Message);
  }
}

TEST(ClassRegistry, RefusesASecondClassUnderATakenName)
{
  TClassInfo impostor;
  impostor.ClassName = "TCircle";
  impostor.Parent = &TPersistent::StaticClass();
  RegisterClass(TCircle::StaticClass());
  EXPECT_THROW(RegisterClass(impostor), EFilerError);
  UnRegisterClass(TCircle::StaticClass());
  UnRegisterClass(TShape::StaticClass());
  UnRegisterClass(TPersistent::StaticClass());
}

TEST(TPersistent, AssignAsksTheSourceWhenTheDestinationCannot)
{
  TShape shape;
  TCircle circle;
  circle.Size = 3;
  shape.Assign(&circle);
  EXPECT_EQ(3, shape.Size);

  TSketch sketch;
  sketch.Strokes = 9;
  shape.Assign(&sketch);
  EXPECT_EQ(9, shape.Size);
}

TEST(TPersistent, AssignmentErrorNamesBothClasses)
{
  TShape shape;
  TSketch sketch;
  TOther other;
  EXPECT_EQ("Cannot assign a TOther to a TShape", AssignErrorOf(shape, &other));
  EXPECT_EQ("Cannot assign a TShape to a TSketch", AssignErrorOf(sketch, &shape));
  EXPECT_EQ("Cannot assign a nil to a TOther", AssignErrorOf(other, nullptr));
}
