#include "frontend/option_texts.h"

#include "platform/codepage.h"

namespace {

OptionHelp Help(const char* heading, const char* line1, const char* line2, const char* line3,
                const char* hint) {
  return {Utf8ToCp932(heading),
          {Utf8ToCp932(line1), Utf8ToCp932(line2), Utf8ToCp932(line3)},
          Utf8ToCp932(hint)};
}

OptionTexts MakeTexts() {
  OptionTexts texts;
  texts.title = Utf8ToCp932("～ #Fumbo!2nd Option ～");
  texts.labels = {Utf8ToCp932("Key Sensitivity"), Utf8ToCp932("BGM On/Off"),
                  Utf8ToCp932("Sound On/Off"), Utf8ToCp932("Quit '#Fumbo! 2nd'")};
  texts.help = {
      Help("＜キーの反応速度を設定できます＞", "０ではブロックの移動や回転の時に１回ごと",
           "手動で入力し、１～５は自動的に動き、", "値が少ないほど敏感に反応します。",
           "[←]：値を減らす　[→]：値を増やす"),
      Help("＜音楽を流すかどうか設定できます＞", "ソフトウェアＭＩＤＩなどを使用すると、",
           "環境によっては実行速度が遅くなります。", "そのときは、この設定をオフにして下さい。",
           "[←][→]：オン・オフの変更"),
      Help("＜効果音を再生するかどうか設定できます＞", "環境によっては、効果音を再生するときに",
           "処理が遅れたりする場合があります。", "そのときは、この設定をオフにして下さい。",
           "[←][→]：オン・オフの変更"),
      Help("＜ゲームを終了します＞", "＃Ｆｕｍｂｏ！２ｎｄを終了します。", "", "",
           "[Ｅｎｔｅｒ]：終了"),
  };
  return texts;
}

}  // namespace

const OptionTexts& OptionScreenTexts() {
  static const OptionTexts texts = MakeTexts();
  return texts;
}
