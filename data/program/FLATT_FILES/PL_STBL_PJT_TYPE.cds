<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="r8"/>
<FIELD attrname="PJT_TYPE" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="1" PJT_TYPE="技術活用パイロット"/>
<ROW CD="2" PJT_TYPE="特定技術活用パイロット"/>
<ROW CD="3" PJT_TYPE="試験フィールド"/>
<ROW CD="4" PJT_TYPE="リサイクルモデル事業"/>
<ROW CD="5" PJT_TYPE="一般工事"/>
<ROW CD="6" PJT_TYPE="特定試験フィールド"/>
<ROW CD="9" PJT_TYPE="その他"/>
</ROWDATA>
</DATAPACKET>
