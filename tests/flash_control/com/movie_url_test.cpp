#include <gtest/gtest.h>

#include "flash_control/com/MovieUrl.h"
#include "flash_control/com/Utf8.h"

using namespace flash_control;

TEST(MovieUrl, LocalPathsAndFileUrls)
{
  const struct {
    std::u16string_view url;
    std::u16string_view path;
  } cases[] = {
    {u"C:\\movies\\menu.swf", u"C:\\movies\\menu.swf"},
    {u"C:/movies/menu.swf", u"C:/movies/menu.swf"},
    {u"movies\\menu.swf", u"movies\\menu.swf"},
    {u"file:///C:/movies/my%20menu.swf", u"C:/movies/my menu.swf"},
    {u"file:///C:\\movies\\menu.swf", u"C:/movies/menu.swf"},
    {u"FILE://localhost/C:/movies/menu.swf", u"C:/movies/menu.swf"},
    {u"file:C:/movies/menu.swf", u"C:/movies/menu.swf"},
    {u"file://server/share/menu.swf", u"//server/share/menu.swf"},
    {u"C:/100%/menu.swf", u"C:/100%/menu.swf"},
  };
  for (const auto& c : cases) {
    const std::optional<TMovieUrl> url = ParseMovieUrl(c.url);
    ASSERT_TRUE(url) << ToUtf8(c.url);
    EXPECT_EQ(c.path, url->Path) << ToUtf8(c.url);
    EXPECT_TRUE(url->Query.empty());
  }
}

TEST(MovieUrl, OtherSchemesAndEmptyPathsAreNotMovies)
{
  for (std::u16string_view url :
       {u"http://example.com/menu.swf", u"ftp://host/a.swf", u"", u"?a=1"})
    EXPECT_FALSE(ParseMovieUrl(url)) << ToUtf8(url);
}

TEST(MovieUrl, TheQueryBecomesVariables)
{
  const std::optional<TMovieUrl> url = ParseMovieUrl(u"T:/Temp/412.swf?fileName=D:/media/clip.flv");
  ASSERT_TRUE(url);
  EXPECT_EQ(u"T:/Temp/412.swf", url->Path);
  ASSERT_EQ(1u, url->Query.size());
  EXPECT_EQ(u"fileName", url->Query[0].first);
  EXPECT_EQ(u"D:/media/clip.flv", url->Query[0].second);
}

TEST(MovieUrl, QueryPairsArePercentDecoded)
{
  const TVariables variables =
    ParseQuery(u"a=1&b=%41%42&c&=skipped&d=x%3Dy&e=%C3%A9&f=%E9&g=100%&h=a+b&&i=D:/my clip.flv");
  const TVariables expected = {{u"a", u"1"},    {u"b", u"AB"},     {u"c", u""},
                               {u"d", u"x=y"},  {u"e", u"\u00E9"}, {u"f", u"\u00E9"},
                               {u"g", u"100%"}, {u"h", u"a+b"},    {u"i", u"D:/my clip.flv"}};
  EXPECT_EQ(expected, variables);
}

TEST(MovieUrl, RelativePathsJoinTheBase)
{
  const struct {
    std::u16string_view base, path, resolved;
  } cases[] = {
    {u"C:\\media", u"clip.flv", u"C:\\media\\clip.flv"},
    {u"C:\\media\\", u"clip.flv", u"C:\\media\\clip.flv"},
    {u"file:///C:/media/", u"clip.flv", u"C:/media/clip.flv"},
    {u"C:\\media", u"D:\\clip.flv", u"D:\\clip.flv"},
    {u"C:\\media", u"\\\\server\\clip.flv", u"\\\\server\\clip.flv"},
    {u"", u"clip.flv", u"clip.flv"},
    {u"http://example.com/", u"clip.flv", u"clip.flv"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.resolved, ResolvePath(c.base, c.path)) << ToUtf8(c.path);
}

TEST(Utf8, RoundTripsAndReadsStrayBytesAsLatin1)
{
  const std::u16string text = u"a\u00E9\u20AC\U0001F600";
  EXPECT_EQ("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", ToUtf8(text));
  EXPECT_EQ(text, FromUtf8(ToUtf8(text)));
  EXPECT_EQ(u"\u00E9x\u00C0\u0080", FromUtf8("\xE9x\xC0\x80"));  // stray, overlong
  EXPECT_EQ("\xEF\xBF\xBD", ToUtf8(u"\xD800"));                  // unpaired surrogate
}
