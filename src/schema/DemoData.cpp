#include "DemoData.h"

#include "RowInserter.h"

#include "core/Connection.h"
#include "core/DateText.h"

#include <QDate>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <span>

namespace {

// splitmix64: small, fast and the same sequence on every platform.
class Random {
public:
    explicit Random(quint64 seed) : state(seed) {}

    quint64 next()
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }

    template <typename T>
    const T& pick(std::span<const T> items) { return items[next() % items.size()]; }

    // A 1-based position drawn by the weights.
    int weighted(std::initializer_list<int> weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int draw = between(1, total);
        int position = 0;
        for (int w : weights) {
            ++position;
            if ((draw -= w) <= 0)
                break;
        }
        return position;
    }

private:
    quint64 state;
};

// A word with its latin spelling for mail addresses, web sites and chat ids.
struct Word {
    const char* text;
    const char* latin;
};

struct City {
    int region;  // code of Q_AC03
    int weight;
    const char* shortName;
    const char* addressPrefix;
    const char* areaCode;
    const char* postcodePrefix;
    std::initializer_list<const char*> districts;
};

const City cities[] = {
    {1, 8, "北京", "北京市", "010", "1000", {"朝阳区", "海淀区", "丰台区"}},
    {1, 4, "天津", "天津市", "022", "3000", {"和平区", "河西区", "南开区"}},
    {1, 2, "石家庄", "河北省石家庄市", "0311", "0500", {"长安区", "桥西区", "裕华区"}},
    {1, 2, "太原", "山西省太原市", "0351", "0300", {"小店区", "迎泽区", "杏花岭区"}},
    {2, 10, "上海", "上海市", "021", "2000", {"浦东新区", "徐汇区", "闵行区"}},
    {2, 5, "南京", "江苏省南京市", "025", "2100", {"鼓楼区", "玄武区", "江宁区"}},
    {2, 5, "苏州", "江苏省苏州市", "0512", "2150", {"姑苏区", "吴中区", "工业园区"}},
    {2, 5, "杭州", "浙江省杭州市", "0571", "3100", {"西湖区", "滨江区", "余杭区"}},
    {2, 3, "济南", "山东省济南市", "0531", "2500", {"历下区", "市中区", "槐荫区"}},
    {3, 7, "广州", "广东省广州市", "020", "5100", {"天河区", "越秀区", "番禺区"}},
    {3, 7, "深圳", "广东省深圳市", "0755", "5180", {"南山区", "福田区", "宝安区"}},
    {3, 3, "厦门", "福建省厦门市", "0592", "3610", {"思明区", "湖里区", "集美区"}},
    {3, 2, "南宁", "广西壮族自治区南宁市", "0771", "5300", {"青秀区", "兴宁区", "西乡塘区"}},
    {3, 1, "海口", "海南省海口市", "0898", "5700", {"龙华区", "美兰区", "秀英区"}},
    {4, 4, "武汉", "湖北省武汉市", "027", "4300", {"江汉区", "武昌区", "洪山区"}},
    {4, 3, "长沙", "湖南省长沙市", "0731", "4100", {"岳麓区", "芙蓉区", "天心区"}},
    {4, 3, "郑州", "河南省郑州市", "0371", "4500", {"金水区", "二七区", "中原区"}},
    {4, 2, "南昌", "江西省南昌市", "0791", "3300", {"东湖区", "西湖区", "青山湖区"}},
    {5, 4, "成都", "四川省成都市", "028", "6100", {"武侯区", "锦江区", "高新区"}},
    {5, 4, "重庆", "重庆市", "023", "4000", {"渝中区", "江北区", "九龙坡区"}},
    {5, 2, "昆明", "云南省昆明市", "0871", "6500", {"五华区", "盘龙区", "官渡区"}},
    {5, 1, "贵阳", "贵州省贵阳市", "0851", "5500", {"南明区", "云岩区", "观山湖区"}},
    {6, 3, "西安", "陕西省西安市", "029", "7100", {"雁塔区", "碑林区", "未央区"}},
    {6, 1, "兰州", "甘肃省兰州市", "0931", "7300", {"城关区", "七里河区", "安宁区"}},
    {6, 1, "乌鲁木齐", "新疆维吾尔自治区乌鲁木齐市", "0991", "8300", {"天山区", "沙依巴克区", "新市区"}},
    {6, 1, "银川", "宁夏回族自治区银川市", "0951", "7500", {"兴庆区", "金凤区", "西夏区"}},
    {7, 3, "沈阳", "辽宁省沈阳市", "024", "1100", {"和平区", "沈河区", "浑南区"}},
    {7, 2, "大连", "辽宁省大连市", "0411", "1160", {"中山区", "西岗区", "甘井子区"}},
    {7, 2, "长春", "吉林省长春市", "0431", "1300", {"朝阳区", "南关区", "绿园区"}},
    {7, 2, "哈尔滨", "黑龙江省哈尔滨市", "0451", "1500", {"南岗区", "道里区", "香坊区"}},
};

const char* const streets[] = {"人民路", "解放路", "中山路", "建设路", "和平路", "新华路", "长江路",
                               "黄河路", "胜利路", "文化路", "科技路", "创业大道", "高新大道", "工业园路",
                               "青年路", "光明路", "幸福路", "湖滨路", "滨江路", "世纪大道"};

const Word tradeNames[] = {
    {"恒达", "hengda"}, {"华盛", "huasheng"}, {"鑫源", "xinyuan"}, {"宏远", "hongyuan"},
    {"瑞丰", "ruifeng"}, {"金桥", "jinqiao"}, {"天成", "tiancheng"}, {"博远", "boyuan"},
    {"嘉禾", "jiahe"}, {"永泰", "yongtai"}, {"新锐", "xinrui"}, {"卓越", "zhuoyue"},
    {"启航", "qihang"}, {"联创", "lianchuang"}, {"盛世", "shengshi"}, {"正和", "zhenghe"},
    {"汇通", "huitong"}, {"云帆", "yunfan"}, {"锦程", "jincheng"}, {"明德", "mingde"},
    {"同舟", "tongzhou"}, {"安泰", "antai"}, {"海纳", "haina"}, {"东升", "dongsheng"},
    {"信诚", "xincheng"}, {"长青", "changqing"}, {"凯达", "kaida"}, {"九州", "jiuzhou"},
    {"远航", "yuanhang"}, {"科诺", "kenuo"}, {"华宇", "huayu"}, {"润泽", "runze"},
};

// Business words per industry, in the order of the Q_AC02 codes.
const std::initializer_list<Word> businesses[] = {
    {{"机械制造", "machinery"}, {"精密仪器", "instrument"}, {"电子科技", "elec"}, {"新材料", "material"},
     {"汽车配件", "autoparts"}},
    {{"商贸", "trade"}, {"贸易", "trading"}, {"百货", "store"}, {"医药连锁", "pharma"}, {"食品", "food"}},
    {{"信息科技", "tech"}, {"软件", "soft"}, {"网络科技", "net"}, {"数据科技", "data"}, {"智能科技", "smart"}},
    {{"建设工程", "build"}, {"建筑装饰", "decor"}, {"市政工程", "civil"}, {"机电安装", "mep"}},
    {{"物业服务", "property"}, {"企业管理咨询", "consulting"}, {"物流", "logistics"}, {"酒店管理", "hotel"},
     {"人力资源", "hr"}},
    {{"文化传媒", "media"}, {"农业科技", "agri"}, {"实业", "group"}, {"教育科技", "edu"}},
};

const Word surnames[] = {
    {"王", "wang"}, {"李", "li"}, {"张", "zhang"}, {"刘", "liu"}, {"陈", "chen"}, {"杨", "yang"},
    {"黄", "huang"}, {"赵", "zhao"}, {"吴", "wu"}, {"周", "zhou"}, {"徐", "xu"}, {"孙", "sun"},
    {"马", "ma"}, {"朱", "zhu"}, {"胡", "hu"}, {"郭", "guo"}, {"何", "he"}, {"高", "gao"},
    {"林", "lin"}, {"罗", "luo"}, {"郑", "zheng"}, {"梁", "liang"}, {"谢", "xie"}, {"宋", "song"},
    {"唐", "tang"}, {"许", "xu"}, {"韩", "han"}, {"冯", "feng"}, {"邓", "deng"}, {"曹", "cao"},
};

// Given names in the order of the Q_BC01 codes: male, then female.
const std::initializer_list<Word> givenNames[] = {
    {{"伟", "wei"}, {"强", "qiang"}, {"磊", "lei"}, {"军", "jun"}, {"勇", "yong"}, {"杰", "jie"},
     {"涛", "tao"}, {"斌", "bin"}, {"浩然", "haoran"}, {"志强", "zhiqiang"}, {"建华", "jianhua"},
     {"国栋", "guodong"}, {"明", "ming"}, {"鹏", "peng"}, {"俊杰", "junjie"}},
    {{"芳", "fang"}, {"娜", "na"}, {"敏", "min"}, {"静", "jing"}, {"丽", "li"}, {"艳", "yan"},
     {"婷", "ting"}, {"雪梅", "xuemei"}, {"秀英", "xiuying"}, {"晓燕", "xiaoyan"}, {"丹", "dan"},
     {"玲", "ling"}, {"慧", "hui"}, {"欣怡", "xinyi"}, {"佳", "jia"}},
};

struct Position {
    const char* title;
    const char* department;
};

// Decision makers first: a customer's first contact person is one of them.
const Position positions[] = {
    {"总经理", "总经办"},   {"副总经理", "总经办"}, {"采购经理", "采购部"}, {"销售总监", "销售部"},
    {"采购专员", "采购部"}, {"技术主管", "技术部"}, {"工程师", "技术部"},   {"财务经理", "财务部"},
    {"行政主管", "行政部"}, {"项目经理", "项目部"}, {"办公室主任", "办公室"},
};
constexpr int decisionMakers = 4;

const char* const salesStaff[] = {"张丽", "王强", "李明", "赵敏", "陈晨", "刘洋", "孙婷", "周杰"};
const char* const serviceStaff[] = {"吴刚", "郑磊", "冯涛", "何军", "高峰", "林海"};

const char* const mailBoxes[] = {"sales", "info", "service", "contact", "office", "purchase"};

const char* const customerRemarks[] = {
    "老客户，付款及时。", "重点跟进客户。", "需开具增值税专用发票。", "春节前安排回访。",
    "对价格敏感，注重售后服务。", "有扩大采购计划。", "竞争对手正在接触，需加强联系。", "账期60天。",
};

const char* const personRemarks[] = {
    "决策人，关注价格。", "技术对接人。", "负责付款审批。", "性格直爽，喜欢电话沟通。",
    "上午不方便接听电话。", "新任采购负责人。",
};

// Contact notes in the order of the Q_CC01 codes.
const std::initializer_list<const char*> contactNotes[] = {
    {"电话沟通新产品报价，客户表示下周答复。", "电话回访使用情况，客户反馈良好。",
     "客户来电咨询售后政策，已详细解答。", "电话确认到货时间，客户已签收。",
     "电话跟进合同进度，对方法务正在审核。"},
    {"上门拜访采购经理，介绍年度合作方案。", "到客户现场演示产品，技术部门认可。",
     "拜访总经理，商谈明年框架协议。", "上门送达样品，约定两周后反馈。"},
    {"微信发送产品资料，客户已查看。", "微信沟通付款安排，财务本月底付款。", "通过微信发送节日问候。",
     "微信确认培训时间为下周三下午。"},
    {"邮件发送正式报价单及合同草案。", "邮件回复客户技术问题清单。", "邮件寄送对账单，请客户核对。"},
    {"展会现场交流，客户对新品感兴趣。", "客户到公司参观，洽谈合作细节。", "行业交流会上结识，交换名片。"},
};

struct ServiceKind {
    int lowestFee;  // yuan
    int highestFee;
    std::initializer_list<const char*> notes;
};

// Service kinds in the order of the Q_DC01 codes.
const ServiceKind serviceKinds[] = {
    {0, 0, {"解答产品选型问题，提供配置建议。", "提供技术方案及报价参考。"}},
    {500, 3000, {"现场安装设备并完成调试，运行正常。", "远程协助完成软件安装与参数配置。"}},
    {200, 2000,
     {"更换易损件，设备恢复正常运行。", "例行保养，检查线路并清洁设备。", "排查故障原因为电源模块损坏，已更换。"}},
    {1000, 5000, {"为客户操作人员进行使用培训，共8人参加。", "开展新版本功能培训，客户反馈良好。"}},
    {0, 0, {"客户投诉到货延迟，已协调物流加急处理。", "客户反映产品异响，安排工程师上门检查。"}},
};

struct Note {
    const char* title;
    const char* content;
};

const Note otherNotes[] = {
    {"年度框架合同", "双方签订年度框架合同，有效期一年。"},
    {"资质文件存档", "已收到营业执照及开票资料复印件。"},
    {"客户满意度调查", "满意度调查结果：总体满意，建议加快响应速度。"},
    {"开票信息变更", "客户更换开户银行，开票信息已更新。"},
    {"合作协议签订", "签订战略合作协议，约定优先供货。"},
    {"展会邀请", "邀请客户参加秋季产品展会，已确认出席。"},
};

template <typename T>
std::span<const T> all(std::initializer_list<T> items)
{
    return {items.begin(), items.size()};
}

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

struct Person {
    QString name;
    QString latin;
    int gender = 1;
    QString mobile;
};

struct Company {
    const City* city = nullptr;
    QString domain;
};

// Writes the demo rows through one prepared statement per table.
class DemoWriter {
public:
    explicit DemoWriter(Connection& connection)
        : connection(connection),
          customers(connection, QStringLiteral("Q_A"),
                    {QStringLiteral("AS01"), QStringLiteral("AS02"), QStringLiteral("AC01"), QStringLiteral("AC02"),
                     QStringLiteral("AC03"), QStringLiteral("AC04"), QStringLiteral("AC05"), QStringLiteral("AS03"),
                     QStringLiteral("AS04"), QStringLiteral("AS05"), QStringLiteral("AS06"), QStringLiteral("AS07"),
                     QStringLiteral("AS08"), QStringLiteral("AS11"), QStringLiteral("AS09"), QStringLiteral("AS10"),
                     QStringLiteral("AI01"), QStringLiteral("AF01"), QStringLiteral("AD01"), QStringLiteral("AD02"),
                     QStringLiteral("AS50")}),
          persons(connection, QStringLiteral("Q_B"),
                  {QStringLiteral("AIID"), QStringLiteral("BS01"), QStringLiteral("BC01"), QStringLiteral("BS02"),
                   QStringLiteral("BS03"), QStringLiteral("BS04"), QStringLiteral("BS05"), QStringLiteral("BS06"),
                   QStringLiteral("BS07"), QStringLiteral("BD01"), QStringLiteral("BS50")}),
          contacts(connection, QStringLiteral("Q_C"),
                   {QStringLiteral("AIID"), QStringLiteral("CD01"), QStringLiteral("CC01"), QStringLiteral("CS01"),
                    QStringLiteral("CS02"), QStringLiteral("CS50"), QStringLiteral("CD02")}),
          services(connection, QStringLiteral("Q_D"),
                   {QStringLiteral("AIID"), QStringLiteral("DD01"), QStringLiteral("DC01"), QStringLiteral("DC02"),
                    QStringLiteral("DS01"), QStringLiteral("DF01"), QStringLiteral("DS50")}),
          others(connection, QStringLiteral("Q_E"),
                 {QStringLiteral("AIID"), QStringLiteral("ES01"), QStringLiteral("ED01"), QStringLiteral("ES50")})
    {
    }

    void addCustomer(int number)
    {
        const City& city = pickCity();
        const int industry = random.weighted({25, 20, 20, 10, 15, 10});
        const Word& tradeName = pick(tradeNames);
        const Word& business = random.pick(all(businesses[industry - 1]));
        const Company company{&city, QStringLiteral("%1-%2.%3")
                                         .arg(text(tradeName.latin), text(business.latin),
                                              random.chance(70) ? QStringLiteral("com") : QStringLiteral("com.cn"))};
        const QString name = text(city.shortName) + text(tradeName.text) + text(business.text)
            + text(suffixes[random.weighted({70, 15, 15}) - 1]);

        QList<Person> people;
        const int personCount = random.weighted({50, 35, 15});
        for (int i = 0; i < personCount; ++i)
            people << makePerson();

        const int created = random.between(firstDay, lastCreatedDay);
        QList<int> contactDays;
        const int contactCount = random.weighted({15, 25, 25, 20, 15}) - 1;
        for (int i = 0; i < contactCount; ++i)
            contactDays << random.between(created, lastRecordDay);
        const QVariant lastContact =
            contactDays.isEmpty() ? QVariant() : QVariant(double(*std::max_element(contactDays.begin(), contactDays.end())));

        const int employees = employeeCount();
        const int yuanPerEmployee = random.between(500, 5000);
        const double purchases = employees * double(yuanPerEmployee) + random.between(0, 99) / 100.0;
        customers.insert({
            QStringLiteral("KH%1").arg(number, 6, 10, QLatin1Char('0')),
            name,
            random.weighted({30, 25, 35, 10}),
            industry,
            city.region,
            random.weighted({25, 30, 15, 20, 10}),
            random.weighted({20, 45, 35}),
            people.first().name,
            people.first().mobile,
            optional(95, phone(city)),
            optional(85, phone(city)),
            QStringLiteral("%1@%2").arg(text(pick(mailBoxes)), company.domain),
            optional(90, QStringLiteral("www.") + company.domain),
            optional(90, chatId(people.first())),
            address(city),
            QString::fromLatin1(city.postcodePrefix) + QStringLiteral("%1").arg(random.between(0, 99), 2, 10, QLatin1Char('0')),
            employees,
            optional(95, std::round(purchases * 100) / 100),
            double(created),
            lastContact,
            optional(30, text(pick(customerRemarks))),
        });
        const qint64 customer = connection.lastInsertId();

        for (int i = 0; i < people.size(); ++i)
            addPerson(customer, people.at(i), company, i == 0);
        for (int day : contactDays)
            addContact(customer, day, people);
        const int serviceCount = random.weighted({50, 35, 15}) - 1;
        for (int i = 0; i < serviceCount; ++i)
            addService(customer, random.between(created, lastRecordDay));
        if (random.chance(10))
            addOther(customer, random.between(created, lastRecordDay));
    }

private:
    static constexpr const char* suffixes[] = {"有限公司", "股份有限公司", "有限责任公司"};

    template <typename T, size_t N>
    const T& pick(const T (&items)[N])
    {
        return random.pick(std::span<const T>(items));
    }

    QVariant optional(int percent, const QVariant& value) { return random.chance(percent) ? value : QVariant(); }

    const City& pickCity()
    {
        int total = 0;
        for (const City& c : cities)
            total += c.weight;
        int draw = random.between(1, total);
        for (const City& c : cities)
            if ((draw -= c.weight) <= 0)
                return c;
        return cities[0];
    }

    Person makePerson()
    {
        const Word& surname = pick(surnames);
        const int gender = random.weighted({60, 40});
        const Word& given = random.pick(all(givenNames[gender - 1]));
        return {text(surname.text) + text(given.text), QString::fromLatin1(surname.latin) + QString::fromLatin1(given.latin),
                gender, mobile()};
    }

    QString mobile()
    {
        static const char secondDigits[] = "3456789";
        return QStringLiteral("1%1%2%3")
            .arg(QLatin1Char(secondDigits[random.weighted({30, 8, 30, 6, 8, 30, 8}) - 1]))
            .arg(random.between(0, 9))
            .arg(random.between(0, 99999999), 8, 10, QLatin1Char('0'));
    }

    QString phone(const City& city)
    {
        return QStringLiteral("%1-%2").arg(QString::fromLatin1(city.areaCode)).arg(random.between(20000000, 89999999));
    }

    QString chatId(const Person& person)
    {
        return random.chance(50) ? QStringLiteral("%1%2").arg(person.latin).arg(random.between(1965, 2002))
                                 : QStringLiteral("wx_%1%2").arg(person.latin).arg(random.between(10, 999));
    }

    QString address(const City& city)
    {
        const QString district = text(random.pick(all(city.districts)));
        const QString street = text(pick(streets));
        QString result = text(city.addressPrefix) + district + street + QString::number(random.between(1, 999))
            + QStringLiteral("号");
        switch (random.weighted({50, 25, 25})) {
        case 2: result += QStringLiteral("%1栋%2室").arg(random.between(1, 12)).arg(random.between(101, 2508)); break;
        case 3: result += QStringLiteral("%1楼").arg(random.between(2, 28)); break;
        default: break;
        }
        return result;
    }

    int employeeCount()
    {
        switch (random.weighted({40, 35, 20, 5})) {
        case 1: return random.between(5, 50);
        case 2: return random.between(51, 300);
        case 3: return random.between(301, 2000);
        default: return random.between(2001, 20000);
        }
    }

    void addPerson(qint64 customer, const Person& person, const Company& company, bool first)
    {
        const Position& position = first ? positions[random.between(0, decisionMakers - 1)] : pick(positions);
        persons.insert({
            customer,
            person.name,
            person.gender,
            text(position.title),
            text(position.department),
            person.mobile,
            optional(70, phone(*company.city)),
            QStringLiteral("%1@%2").arg(person.latin, company.domain),
            optional(85, chatId(person)),
            optional(70, double(random.between(firstBirthday, lastBirthday))),
            optional(15, text(pick(personRemarks))),
        });
    }

    void addContact(qint64 customer, int day, const QList<Person>& people)
    {
        const int method = random.weighted({35, 20, 25, 15, 5});
        contacts.insert({
            customer,
            double(day),
            method,
            people.at(random.between(0, int(people.size()) - 1)).name,
            text(pick(salesStaff)),
            text(random.pick(all(contactNotes[method - 1]))),
            optional(60, double(day + random.between(3, 30))),
        });
    }

    void addService(qint64 customer, int day)
    {
        const int kind = random.weighted({20, 25, 30, 15, 10});
        const ServiceKind& service = serviceKinds[kind - 1];
        services.insert({
            customer,
            double(day),
            kind,
            random.weighted({10, 15, 75}),
            text(pick(serviceStaff)),
            double(random.between(service.lowestFee / 10, service.highestFee / 10) * 10),
            text(random.pick(all(service.notes))),
        });
    }

    void addOther(qint64 customer, int day)
    {
        const Note& note = pick(otherNotes);
        others.insert({customer, text(note.title), double(day), text(note.content)});
    }

    const int firstDay = int(DateText::toDayNumber(QDate(2018, 1, 1)));
    const int lastCreatedDay = int(DateText::toDayNumber(QDate(2025, 12, 31)));
    const int lastRecordDay = int(DateText::toDayNumber(QDate(2026, 6, 30)));
    const int firstBirthday = int(DateText::toDayNumber(QDate(1965, 1, 1)));
    const int lastBirthday = int(DateText::toDayNumber(QDate(2000, 12, 31)));

    Connection& connection;
    Random random{20180101};
    RowInserter customers;
    RowInserter persons;
    RowInserter contacts;
    RowInserter services;
    RowInserter others;
};

}

namespace DemoData {

void fill(Connection& connection, int customers)
{
    DemoWriter writer(connection);
    for (int number = 1; number <= customers; ++number)
        writer.addCustomer(number);
}

}
