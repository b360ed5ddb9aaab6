#include "support/bench_support.h"

#include "app/ui/application_setup.h"
#include "core/cp932.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace pote::bench {

namespace {

// A small, fast generator whose sequence is the same on every machine and library version
// (std::mt19937 is too, but its distributions are not).
class ProseRandom {
public:
    explicit ProseRandom(quint64 seed)
        : m_state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
    quint64 next() {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int below(int n) { return static_cast<int>(next() % static_cast<quint64>(n)); }
    bool chance(int percent) { return below(100) < percent; }

private:
    quint64 m_state;
};

// Words of a writer's vocabulary, CP932-encoded once.
struct Vocabulary {
    std::vector<QByteArray> nouns, verbs, adjectives, adverbs, particles, endings, names, sounds,
        rubyWords, rubyReadings, kanji, compound;
    QByteArray bar = cp932::encode(u"｜"), rubyOpen = cp932::encode(u"《"),
               rubyClose = cp932::encode(u"》"), to = cp932::encode(u"と"),
               comma = cp932::encode(u"、"), stop = cp932::encode(u"。"),
               trailingStop = cp932::encode(u"……。");

    static std::vector<QByteArray> split(const char16_t* words) {
        std::vector<QByteArray> out;
        for (const QString& w : QString::fromUtf16(words).split(u' ', Qt::SkipEmptyParts))
            out.push_back(cp932::encode(w));
        return out;
    }
};

const Vocabulary& vocabulary() {
    static const Vocabulary v = [] {
        Vocabulary w;
        w.nouns = Vocabulary::split(
            u"猫 窓辺 台所 冷蔵庫 原稿 締め切り 編集者 喫茶店 商店街 駅前 夕暮れ 朝日 雨音 "
            u"路地裏 屋根 縁側 廊下 机 万年筆 手紙 封筒 切手 郵便局 図書館 本棚 文庫本 "
            u"物語 主人公 章立て 推敲 段落 言葉 記憶 約束 季節 桜 紫陽花 向日葵 紅葉 雪 "
            u"故郷 祖母 祖父 母 父 姉 弟 友人 先生 隣人 店主 少年 少女 旅人 商人 医者 "
            u"電車 切符 改札 港 船 灯台 坂道 石段 神社 鳥居 境内 参道 お守り 風鈴 "
            u"夏祭り 花火 浴衣 団扇 縁日 金魚 提灯 夜空 星 月 雲 風 海 山 川 森 "
            u"時計 鞄 傘 帽子 眼鏡 財布 鍵 扉 階段 部屋 布団 毛布 湯呑み 急須 茶碗 "
            u"味噌汁 焼き魚 漬物 握り飯 団子 煎餅 羊羹 珈琲 紅茶 牛乳 鰹節 煮干し "
            u"心 気持ち 不安 期待 後悔 希望 沈黙 溜息 笑顔 涙 声 足音 影 光 闇 夢 "
            u"理由 答え 問題 事件 秘密 噂 手掛かり 証拠 真相 嘘 本当 昨日 今日 明日 "
            u"午前 午後 夜中 明け方 週末 来週 去年 今年 毎朝 毎晩 その日 あの頃");
        w.verbs = Vocabulary::split(
            u"見上げ 見つめ 振り返 歩き出 立ち止ま 座り込 眠 目を覚ま 考え 思い出 忘れ "
            u"書き直 読み返 開け 閉め 待 探 見つけ 落と 拾 届け 受け取 話 黙 笑 泣 "
            u"走 急 向か 戻 帰 出掛け 訪ね 別れ 出会 気付 迷 決め 信じ 疑 確かめ "
            u"鳴 響 揺れ 光 沈 浮か 流れ 降 止 晴れ 曇 冷え 温ま 包 抱え 撫で 呼");
        w.adjectives = Vocabulary::split(
            u"静かな 小さな 大きな 古い 新しい 白い 黒い 赤い 青い 冷たい 温かい 柔らかな "
            u"懐かしい 寂しい 優しい 眠たげな 不思議な 穏やかな 遠い 近い 細い 長い 短い "
            u"薄暗い 明るい 甘い 苦い 重たい 軽やかな 丸い 四角い 確かな 曖昧な");
        w.adverbs = Vocabulary::split(
            u"ゆっくりと そっと ふと じっと まだ もう すっかり いつも 時々 やがて 少し "
            u"ずいぶん なんとなく ちょうど きっと たぶん しばらく 急に 再び ようやく");
        w.particles = Vocabulary::split(u"は が を に で と へ の も から まで より");
        w.endings = Vocabulary::split(
            u"た。 ている。 ていた。 る。 ない。 なかった。 たのだ。 るのだった。 たらしい。 "
            u"そうだ。 てしまった。 ておいた。 たかった。 ようとした。 たまま、 て、 ながら、 "
            u"ると、 たとき、 たので、 ても、 たが、");
        w.names = Vocabulary::split(
            u"ぽてまる 吾輩 佐藤さん 鈴木先生 高橋 田中くん 伊藤さん 渡辺 山本 中村 小林 "
            u"加藤 吉田 山田 佐々木 山口 松本 井上 木村 林 清水 ミケ タマ クロ");
        w.sounds = Vocabulary::split(
            u"ニャア ゴロゴロ ザアザア コトコト カタン ドキドキ ポツポツ ヒュウ ガタゴト "
            u"シトシト ミシミシ パラパラ チリン トントン");
        w.rubyWords = Vocabulary::split(
            u"黄昏 陽炎 微睡 硝子 燐寸 団欒 逢瀬 蜃気楼 欠伸 囁き 煙管 行灯 簪 暖簾 "
            u"襖 障子 囲炉裏 木漏れ日 向日葵 紫陽花");
        w.rubyReadings = Vocabulary::split(
            u"たそがれ かげろう まどろみ がらす まっち だんらん おうせ しんきろう あくび "
            u"ささやき きせる あんどん かんざし のれん ふすま しょうじ いろり こもれび "
            u"ひまわり あじさい");
        w.kanji = Vocabulary::split(
            u"一 二 三 四 五 六 七 八 九 十 百 千 万 円 年 月 日 時 分 人 大 小 中 上 下");
        w.compound = Vocabulary::split(
            u"愛 悪 安 暗 案 以 位 依 意 異 移 遺 域 育 員 院 飲 運 雲 営 影 映 栄 英 衛 "
            u"駅 円 園 演 遠 塩 央 往 応 横 屋 温 音 化 価 加 可 夏 家 科 歌 河 火 花 荷 "
            u"画 会 解 回 快 改 海 界 絵 開 階 外 害 街 各 角 覚 学 楽 活 寒 完 官 感 慣 "
            u"漢 館 関 観 岸 岩 顔 願 危 喜 器 基 寄 希 旗 期 機 帰 気 記 起 技 議 客 "
            u"急 救 求 泣 球 究 給 旧 牛 去 居 許 魚 京 共 協 強 教 橋 競 鏡 業 曲 局 "
            u"極 玉 均 禁 近 金 銀 九 区 苦 具 空 君 訓 群 軍 係 計 形 景 経 警 軽 芸 "
            u"劇 欠 決 結 血 月 件 建 研 県 見 険 験 元 原 現 言 限 古 呼 固 庫 湖 故 "
            u"個 午 後 語 誤 護 交 光 公 功 効 厚 口 向 好 工 広 康 校 構 港 航 行 鉱");
        return w;
    }();
    return v;
}

template <typename T> const T& pick(ProseRandom& r, const std::vector<T>& from) {
    return from[static_cast<size_t>(r.below(static_cast<int>(from.size())))];
}

// One clause: subject or object, a modifier now and then, a verb with its ending.
void appendClause(QByteArray& out, ProseRandom& r, const Vocabulary& v) {
    if (r.chance(25)) out += pick(r, v.adverbs);
    if (r.chance(30)) out += pick(r, v.adjectives);
    if (r.chance(8)) {
        // Ruby over a rarer word, written as the writer's markup.
        const int k = r.below(static_cast<int>(v.rubyWords.size()));
        if (r.chance(50)) out += v.bar;
        out += v.rubyWords[static_cast<size_t>(k)];
        out += v.rubyOpen;
        out += v.rubyReadings[static_cast<size_t>(k)];
        out += v.rubyClose;
    } else if (r.chance(25)) {
        // A word outside the common vocabulary: two kanji of a larger set.
        out += pick(r, v.compound);
        out += pick(r, v.compound);
    } else {
        out += pick(r, r.chance(20) ? v.names : v.nouns);
    }
    out += pick(r, v.particles);
    if (r.chance(40)) {
        out += pick(r, v.nouns);
        out += pick(r, v.particles);
    }
    if (r.chance(6)) {
        out += pick(r, v.sounds);
        out += v.to;
    }
    if (r.chance(7)) {
        // Numbers: kanji numerals or half-width digits, as manuscripts mix them.
        if (r.chance(50)) {
            for (int i = r.below(3) + 1; i > 0; --i)
                out += pick(r, v.kanji);
        } else {
            out += QByteArray::number(r.below(2000) + 1);
        }
        out += pick(r, v.particles);
    }
    out += pick(r, v.verbs);
    out += pick(r, v.endings);
}

// A sentence of one to three clauses, ended by 。 (the last ending carries it).
void appendSentence(QByteArray& out, ProseRandom& r, const Vocabulary& v) {
    const int clauses = 1 + r.below(3);
    for (int i = 0; i < clauses; ++i)
        appendClause(out, r, v);
    if (!out.endsWith(v.stop)) {
        out.chop(v.comma.size());
        out += r.chance(10) ? v.trailingStop : v.stop;
    }
}

} // namespace

QByteArray japaneseProse(qsizetype bytes, quint64 seed) {
    const Vocabulary& v = vocabulary();
    ProseRandom r(seed);
    static const QByteArray crlf("\r\n");
    static const QByteArray indent = cp932::encode(u"　");
    static const QByteArray open = cp932::encode(u"「");
    static const QByteArray close = cp932::encode(u"」");
    static const QByteArray sceneBreak = cp932::encode(u"　　　＊\r\n");
    QByteArray text;
    text.reserve(bytes + 4096);
    while (text.size() < bytes) {
        if (r.chance(35)) {
            // A line of dialogue: one or two sentences in brackets, the last 。 dropped.
            text += open;
            for (int i = r.below(2); i >= 0; --i)
                appendSentence(text, r, v);
            text.chop(v.stop.size());
            text += close;
        } else {
            // A narrative paragraph of two to six sentences, indented.
            text += indent;
            for (int i = 2 + r.below(5); i > 0; --i)
                appendSentence(text, r, v);
        }
        text += crlf;
        if (r.chance(3)) text += crlf + sceneBreak + crlf;
    }
    text.truncate(bytes);
    // Never end inside a line (and so never inside a double-byte character).
    const qsizetype lastBreak = text.lastIndexOf('\n');
    if (lastBreak >= 0 && lastBreak + 1 < text.size()) text.resize(lastBreak + 1);
    while (text.size() < bytes)
        text += ' ';
    return text;
}

QByteArray withMarkers(const QByteArray& text, const QByteArray& marker, int count) {
    QByteArray out;
    out.reserve(text.size() + count * marker.size());
    qsizetype copied = 0;
    for (int k = 1; k <= count; ++k) {
        const qsizetype lineStart = text.indexOf('\n', text.size() / (count + 1) * k) + 1;
        out.append(QByteArrayView(text).sliced(copied, lineStart - copied));
        out.append(marker);
        copied = lineStart;
    }
    out.append(QByteArrayView(text).sliced(copied));
    return out;
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (!median && !single) continue;
        std::string name = run.run_name.function_name;
        if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
        m_time[name] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
}

double RatioReporter::time(const std::string& name) const {
    const auto it = m_time.find(name);
    return it == m_time.end() ? -1 : it->second;
}

void RatioReporter::printRatio(const char* label, const std::string& ours,
                               const std::string& baseline, double goal) const {
    const double a = time(ours);
    const double b = time(baseline);
    if (a < 0 || b <= 0) return;
    const double ratio = a / b;
    if (goal > 0)
        std::printf("%s: %.2f (%s / %s; goal <= %.2f: %s)\n", label, ratio, ours.c_str(),
                    baseline.c_str(), goal, ratio <= goal ? "met" : "MISSED");
    else
        std::printf("%s: %.2f (%s / %s)\n", label, ratio, ours.c_str(), baseline.c_str());
}

void RatioReporter::printSpeedup(const char* label, const std::string& ours,
                                 const std::string& baseline) const {
    const double a = time(ours);
    const double b = time(baseline);
    if (a <= 0 || b < 0) return;
    std::printf("%s: %.2fx (%s time / %s time)\n", label, b / a, baseline.c_str(), ours.c_str());
}

void PairedTimes::printRatio(const char* label, double goal) const {
    if (empty()) return;
    const double r = ratio();
    std::printf("%s: %.2f (%.1f ms / %.1f ms; goal <= %.2f: %s)\n", label, r, median(m_ours),
                median(m_plain), goal, r <= goal ? "met" : "MISSED");
}

int runBenchmarks(int argc, char** argv, bool withGui,
                  const std::function<void(const RatioReporter&)>& report) {
    std::unique_ptr<QApplication> app;
    // Windows keep recovery copies and offer those of earlier runs; a benchmark's windows use
    // a folder of their own, so that no offer waits for an answer.
    QTemporaryDir state;
    if (withGui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
        app = std::make_unique<QApplication>(argc, argv);
        setUpApplication(*app);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    report(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace pote::bench
