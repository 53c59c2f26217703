// The lines of the lottery's clerk and host and of the auctioneer that
// their windows show, and the winners' names the host and the auctioneer
// call out, for the voice builder.
#include "finance_voices.h"

#include "finance_art.h"

std::vector<FinanceVoice> finance_voice_lines() {
    std::vector<FinanceVoice> out = {
        {11, "哈罗！一卷在手，希望无穷！"},
        {12, "只要一千元，就有获得大奖的机会！"},
        {13, "请圈选您的幸运号码～"},
        {14, "拜拜！祝您中奖！"},
        {15, "太可惜了！您的现金不足～"},
        {16, "下次再来吧！"},
        {17, "嗨！又到了每月十五号乐透开奖时间～"},
        {18, "现在马上为您开出这一期的号码。"},
        {19, "本月份的得主是"},
        {32, "恭喜您独得所有奖金！"},
        {33, "SORRY！本月份没有人得奖～"},
        {34, "奖金将累积到下个月。"},
        {35, "希望下次得奖者就是您！"},
        {36, "行动要快喔！"},
        {131, "公开拍卖土地一处。"},
        {132, "底价 元，请意者出价。"},
        {135, "元成交"},
        {148, "无人出价，宣布流标。"},
        // The bank clerk's lines.
        {75, "欢迎光临卡尔沃银行！"},
        {76, "需要我为您服务吗？"},
        {78, "请输入您要贷款的金额！"},
        {79, "您的贷款手续已经完成。"},
        {80, "请于三个月内还清贷款。"},
        {81, "很抱歉！金额已超过许可额度。"},
        {82, "请输入您预备还款的金额！"},
        {83, "很抱歉！您的现金不足。"},
        {84, "您的还款手续已完成。"},
        {85, "谢谢您的惠顾！"},
        {86, "董事长亲自光临，不知有何指教？"},
        {87, "请输入您要周转的金额～"},
        {89, "请输入您要还款的金额～"},
        {90, "董事长您别开玩笑了～"},
        {91, "董事长慢走！"},
    };
    for (int c = 0; c < 12; ++c) {
        const std::string name = fin_character_name(c);
        out.push_back({20 + c, name});
        out.push_back({136 + c, "恭喜" + name + "购得此地！"});
    }
    return out;
}
