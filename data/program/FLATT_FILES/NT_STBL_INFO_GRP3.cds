<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="3"/>
<FIELD attrname="GRP_TITLE3" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="010" GRP_TITLE3="港湾・海岸工事"/>
<ROW CD="020" GRP_TITLE3="地盤改良工事"/>
<ROW CD="030" GRP_TITLE3="空港工事"/>
<ROW CD="040" GRP_TITLE3="共通工"/>
<ROW CD="050" GRP_TITLE3="維持管理・補修工"/>
<ROW CD="060" GRP_TITLE3="調査・計測・情報化施工"/>
</ROWDATA>
</DATAPACKET>
