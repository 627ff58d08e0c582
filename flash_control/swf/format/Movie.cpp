#include "flash_control/swf/format/Movie.h"

#include "flash_control/swf/format/Inflate.h"
#include "flash_control/swf/format/Names.h"
#include "flash_control/swf/format/Reader.h"

namespace swf {

namespace {

ActionBytes ReadRest(Reader& in)
{
  const auto bytes = in.Bytes(in.Remaining());
  return ActionBytes(bytes.begin(), bytes.end());
}

PlaceTag ReadPlaceObject(Reader& in)
{
  PlaceTag tag;
  tag.CharacterId = in.U16();
  tag.Depth = in.U16();
  tag.Transform = ReadMatrix(in);
  if (!in.AtEnd())
    tag.Colors = ReadColorTransform(in, false);
  return tag;
}

PlaceTag ReadPlaceObject2(Reader& in)
{
  PlaceTag tag;
  const uint8_t flags = in.U8();
  tag.Depth = in.U16();
  tag.Move = flags & kPlaceMove;
  if (flags & kPlaceHasCharacter)
    tag.CharacterId = in.U16();
  if (flags & kPlaceHasMatrix)
    tag.Transform = ReadMatrix(in);
  if (flags & kPlaceHasColorTransform)
    tag.Colors = ReadColorTransform(in, true);
  if (flags & kPlaceHasRatio)
    tag.Ratio = in.U16();
  if (flags & kPlaceHasName)
    tag.Name = in.String();
  if (flags & kPlaceHasClipDepth)
    tag.ClipDepth = in.U16();
  // Clip event handlers (flag 0x80) are not supported; they are the rest of the tag.
  return tag;
}

// Filters do not change what the subset draws, but their bytes must be passed over.
void SkipFilterList(Reader& in)
{
  const unsigned count = in.U8();
  for (unsigned i = 0; i < count; ++i) {
    switch (in.U8()) {
    case 0: in.Skip(23); break;                       // drop shadow
    case 1: in.Skip(9); break;                        // blur
    case 2: in.Skip(15); break;                       // glow
    case 3: in.Skip(27); break;                       // bevel
    case 4:                                           // gradient glow
    case 7: in.Skip(in.U8() * 5u + 19); break;        // gradient bevel
    case 5: {                                         // convolution
      const unsigned columns = in.U8(), rows = in.U8();
      in.Skip(8 + columns * rows * 4u + 5);
      break;
    }
    case 6: in.Skip(80); break;                       // colour matrix
    default: throw FormatError("unknown filter");
    }
  }
}

std::vector<ButtonRecord> ReadButtonRecords(Reader& in, bool withColors)
{
  std::vector<ButtonRecord> records;
  for (;;) {
    const uint8_t flags = in.U8();
    if (flags == 0)
      return records;
    ButtonRecord& record = records.emplace_back();
    record.States = flags & kButtonStates;
    record.CharacterId = in.U16();
    record.Depth = in.U16();
    record.Transform = ReadMatrix(in);
    if (withColors) {
      record.Colors = ReadColorTransform(in, true);
      if (flags & 0x10)
        SkipFilterList(in);
      if (flags & 0x20)
        in.U8();  // blend mode
    }
  }
}

Button ReadButton(Reader& in)
{
  Button button;
  button.Records = ReadButtonRecords(in, false);
  button.Actions.push_back({kOverDownToOverUp, ReadRest(in)});
  return button;
}

Button ReadButton2(Reader& in)
{
  Button button;
  button.TrackAsMenu = in.U8() & kButtonTrackAsMenu;
  const uint16_t actionOffset = in.U16();
  button.Records = ReadButtonRecords(in, true);
  if (actionOffset == 0)
    return button;
  for (;;) {
    const uint16_t size = in.U16();
    const uint16_t conditions = static_cast<uint16_t>(in.U8() | in.U8() << 8);
    ButtonAction& action = button.Actions.emplace_back();
    // The stored bits run from "idle to over down" (high bit of the first byte) down to "idle to
    // over up"; the key code and "over down to idle" share the second byte.
    action.Conditions = static_cast<uint16_t>((conditions & 0xFF) | (conditions & 0x0100));
    if (size == 0) {
      action.Actions = ReadRest(in);
      return button;
    }
    if (size < 4)
      throw FormatError("button action record too short");
    Reader actions = in.Sub(size - 4u);
    action.Actions = ReadRest(actions);
  }
}

class MovieParser {
public:
  MovieParser(Movie& movie, const Limits& limits) : movie_(movie), limits_(limits), edgeBudget_(limits.MaxEdges) {}

  // Reads tags up to End (or the end of the data) into `timeline`; definitions only at the top.
  void ReadTimeline(Reader& in, Timeline& timeline, bool topLevel)
  {
    Frame pending;
    while (!in.AtEnd()) {
      const uint16_t header = in.U16();
      const uint16_t code = header >> kTagCodeShift;
      uint32_t length = header & kTagLongLength;
      if (length == kTagLongLength)
        length = in.U32();
      if (length > in.Remaining())
        throw FormatError("tag runs past the end of the movie");
      Reader body = in.Sub(length);
      if (code == kTagEnd)
        break;
      switch (code) {
      case kTagShowFrame:
        if (timeline.Frames.size() >= limits_.MaxFrames)
          throw FormatError("too many frames");
        timeline.Frames.push_back(std::move(pending));
        pending = {};
        break;
      case kTagPlaceObject: pending.Tags.emplace_back(ReadPlaceObject(body)); break;
      case kTagPlaceObject2: pending.Tags.emplace_back(ReadPlaceObject2(body)); break;
      case kTagRemoveObject:
        body.U16();
        pending.Tags.emplace_back(RemoveTag{body.U16()});
        break;
      case kTagRemoveObject2: pending.Tags.emplace_back(RemoveTag{body.U16()}); break;
      case kTagDoAction: pending.Tags.emplace_back(ActionTag{ReadRest(body)}); break;
      case kTagFrameLabel:
        if (pending.Label.empty())
          pending.Label = body.String();
        break;
      default:
        if (topLevel)
          ReadDefinition(code, body);
        break;
      }
    }
    // Control tags after the last ShowFrame still make a frame; a timeline always has one.
    if (!pending.Tags.empty() || !pending.Label.empty() || timeline.Frames.empty()) {
      if (timeline.Frames.size() >= limits_.MaxFrames)
        throw FormatError("too many frames");
      timeline.Frames.push_back(std::move(pending));
    }
  }

private:
  void ReadDefinition(uint16_t code, Reader& body)
  {
    switch (code) {
    case kTagSetBackgroundColor:
      movie_.Background = ReadRgb(body);
      break;
    case kTagDefineShape:
    case kTagDefineShape2:
    case kTagDefineShape3: {
      const uint16_t id = body.U16();
      const int version = code == kTagDefineShape ? 1 : code == kTagDefineShape2 ? 2 : 3;
      Define(id, ReadShape(body, version, edgeBudget_));
      break;
    }
    case kTagDefineButton: {
      const uint16_t id = body.U16();
      Define(id, ReadButton(body));
      break;
    }
    case kTagDefineButton2: {
      const uint16_t id = body.U16();
      Define(id, ReadButton2(body));
      break;
    }
    case kTagDefineSprite: {
      const uint16_t id = body.U16();
      body.U16();  // frame count as stated; the frames themselves are counted
      Sprite sprite;
      ReadTimeline(body, sprite.Content, false);
      Define(id, std::move(sprite));
      break;
    }
    case kTagDefineVideoStream: {
      const uint16_t id = body.U16();
      body.U16();  // frames
      VideoStream video;
      video.Width = body.U16();
      video.Height = body.U16();
      Define(id, video);
      break;
    }
    default:
      break;
    }
  }

  // The first definition of an id stands; later ones are ignored.
  void Define(uint16_t id, Character character) { movie_.Dictionary.try_emplace(id, std::move(character)); }

  Movie& movie_;
  const Limits& limits_;
  uint32_t edgeBudget_;
};

}  // namespace

std::optional<uint32_t> Timeline::FindLabel(std::string_view label) const
{
  for (uint32_t i = 0; i < Frames.size(); ++i) {
    if (!Frames[i].Label.empty() && EqualsIgnoringCase(Frames[i].Label, label))
      return i;
  }
  return std::nullopt;
}

std::string_view Timeline::LabelAt(uint32_t frame) const
{
  for (uint32_t i = std::min<uint32_t>(frame + 1, static_cast<uint32_t>(Frames.size())); i > 0; --i) {
    if (!Frames[i - 1].Label.empty())
      return Frames[i - 1].Label;
  }
  return {};
}

const Character* Movie::Find(uint16_t id) const
{
  const auto it = Dictionary.find(id);
  return it == Dictionary.end() ? nullptr : &it->second;
}

std::shared_ptr<const Movie> ParseMovie(std::span<const uint8_t> file, const Limits& limits)
{
  constexpr size_t kHeaderSize = 8;
  if (file.size() < kHeaderSize)
    throw FormatError("not a movie: too short");
  const bool compressed = file[0] == 'C';
  if ((file[0] != 'F' && file[0] != 'C') || file[1] != 'W' || file[2] != 'S')
    throw FormatError("not a movie: unknown signature");

  auto movie = std::make_shared<Movie>();
  Reader header(file);
  header.Skip(3);
  movie->Compressed = compressed;
  movie->Version = header.U8();
  movie->FileLength = header.U32();
  if (movie->FileLength < kHeaderSize)
    throw FormatError("file length in the header is too small");
  if (movie->FileLength - kHeaderSize > limits.MaxMovieBytes)
    throw FormatError("movie is larger than the size limit");

  // The stated length bounds the body; a shorter file is read as far as it goes.
  const size_t bodyLength = movie->FileLength - kHeaderSize;
  std::vector<uint8_t> inflated;
  std::span<const uint8_t> body = file.subspan(kHeaderSize);
  if (compressed) {
    inflated = Inflate(body, bodyLength);
    body = inflated;
  } else if (body.size() > bodyLength) {
    body = body.first(bodyLength);
  }

  Reader in(body);
  movie->FrameSize = ReadRect(in);
  movie->FrameRate = in.U16();
  movie->FrameCount = in.U16();
  MovieParser(*movie, limits).ReadTimeline(in, movie->Root, true);
  return movie;
}

}  // namespace swf
