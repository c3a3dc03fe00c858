# Used once to make other-program.xls, a fixture written by another program (python3-xlwt).
import datetime
import xlwt

book = xlwt.Workbook(encoding="utf-8")
sheet = book.add_sheet("客户")
date = xlwt.easyxf(num_format_str="YYYY-MM-DD")
rows = [
    ["客户编号", "客户名称", "员工人数", "年采购额", "建档日期"],
    ["K001", "北京华联商贸有限公司", 120, 35800.5, datetime.date(2019, 3, 5)],
    ["K002", "上海东方电子", 8, 0.25, datetime.date(2021, 12, 31)],
    ["K003", None, 45, -1200.75, None],
]
for r, values in enumerate(rows):
    for c, value in enumerate(values):
        if value is None:
            continue
        if isinstance(value, datetime.date):
            sheet.write(r, c, value, date)
        else:
            sheet.write(r, c, value)
book.add_sheet("备注").write(0, 0, "第二个工作表")
book.save("other-program.xls")
