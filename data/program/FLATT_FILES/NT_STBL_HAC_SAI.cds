<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="10"/>
<FIELD attrname="HAC_SAI" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="1101" HAC_SAI="函館港湾事務所"/>
<ROW CD="1102" HAC_SAI="室蘭港湾事務所"/>
<ROW CD="1103" HAC_SAI="苫小牧港湾事務所"/>
<ROW CD="1104" HAC_SAI="釧路港湾事務所"/>
<ROW CD="1105" HAC_SAI="留萌港湾事務所"/>
<ROW CD="1106" HAC_SAI="稚内港湾事務所"/>
<ROW CD="2101" HAC_SAI="八戸港湾・空港整備事務所"/>
<ROW CD="2102" HAC_SAI="釜石港湾事務所"/>
<ROW CD="2103" HAC_SAI="塩釜港湾・空港整備事務所"/>
<ROW CD="2104" HAC_SAI="秋田港湾事務所"/>
<ROW CD="2105" HAC_SAI="酒田港湾事務所"/>
<ROW CD="2106" HAC_SAI="小名浜港湾事務所"/>
<ROW CD="3101" HAC_SAI="東京港湾事務所"/>
<ROW CD="3102" HAC_SAI="京浜港湾事務所"/>
<ROW CD="3103" HAC_SAI="千葉港湾事務所"/>
<ROW CD="3104" HAC_SAI="鹿島港湾・空港整備事務所"/>
<ROW CD="3105" HAC_SAI="東京空港整備事務所"/>
<ROW CD="4101" HAC_SAI="新潟港湾・空港整備事務所"/>
<ROW CD="4102" HAC_SAI="伏木富山港湾事務所"/>
<ROW CD="4103" HAC_SAI="金沢港湾・空港整備事務所"/>
<ROW CD="4104" HAC_SAI="敦賀港湾事務所"/>
<ROW CD="5101" HAC_SAI="名古屋港湾事務所"/>
<ROW CD="5102" HAC_SAI="四日市港湾事務所"/>
<ROW CD="5103" HAC_SAI="三河港湾事務所"/>
<ROW CD="5104" HAC_SAI="清水港湾事務所"/>
<ROW CD="6101" HAC_SAI="大阪港湾・空港整備事務所"/>
<ROW CD="6102" HAC_SAI="神戸港湾事務所"/>
<ROW CD="6103" HAC_SAI="和歌山港湾事務所"/>
<ROW CD="6104" HAC_SAI="舞鶴港湾事務所"/>
<ROW CD="7101" HAC_SAI="広島港湾・空港整備事務所"/>
<ROW CD="7102" HAC_SAI="宇野港湾事務所"/>
<ROW CD="7103" HAC_SAI="境港湾・空港整備事務所"/>
<ROW CD="7104" HAC_SAI="宇部港湾・空港整備事務所"/>
<ROW CD="8101" HAC_SAI="高松港湾・空港整備事務所"/>
<ROW CD="8102" HAC_SAI="小松島港湾・空港整備事務所"/>
<ROW CD="8103" HAC_SAI="松山港湾・空港整備事務所"/>
<ROW CD="8104" HAC_SAI="高知港湾・空港整備事務所"/>
<ROW CD="9101" HAC_SAI="博多港湾・空港整備事務所"/>
<ROW CD="9102" HAC_SAI="北九州港湾・空港整備事務所"/>
<ROW CD="9103" HAC_SAI="長崎港湾・空港整備事務所"/>
<ROW CD="9104" HAC_SAI="別府港湾・空港整備事務所"/>
<ROW CD="9105" HAC_SAI="鹿児島港湾・空港整備事務所"/>
<ROW CD="9201" HAC_SAI="那覇港湾・空港整備事務所"/>
<ROW CD="9202" HAC_SAI="平良港湾事務所"/>
<ROW CD="9203" HAC_SAI="石垣港湾事務所"/>
</ROWDATA>
</DATAPACKET>
