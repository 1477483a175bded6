<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="5"/>
<FIELD attrname="GRP_TITLE4" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="01001" GRP_TITLE4="浚渫工"/>
<ROW CD="01002" GRP_TITLE4="埋立工"/>
<ROW CD="01003" GRP_TITLE4="防波堤"/>
<ROW CD="01004" GRP_TITLE4="岸壁"/>
<ROW CD="01005" GRP_TITLE4="桟橋"/>
<ROW CD="01006" GRP_TITLE4="護岸・海岸保全施設"/>
<ROW CD="02001" GRP_TITLE4="深層混合処理工"/>
<ROW CD="02002" GRP_TITLE4="サンドコンパクションパイル工"/>
<ROW CD="02003" GRP_TITLE4="バーチカルドレーン工"/>
<ROW CD="02004" GRP_TITLE4="置換・軽量混合処理土工"/>
<ROW CD="03001" GRP_TITLE4="舗装工（空港）"/>
<ROW CD="03002" GRP_TITLE4="排水工（空港）"/>
<ROW CD="03003" GRP_TITLE4="航空灯火・標識工"/>
<ROW CD="04001" GRP_TITLE4="コンクリート工"/>
<ROW CD="04002" GRP_TITLE4="仮設工"/>
<ROW CD="04003" GRP_TITLE4="安全・環境対策工"/>
<ROW CD="05001" GRP_TITLE4="コンクリート構造物補修工"/>
<ROW CD="05002" GRP_TITLE4="鋼構造物防食・補修工"/>
<ROW CD="05003" GRP_TITLE4="点検・診断"/>
<ROW CD="06001" GRP_TITLE4="測量・調査"/>
<ROW CD="06002" GRP_TITLE4="情報化施工"/>
</ROWDATA>
</DATAPACKET>
