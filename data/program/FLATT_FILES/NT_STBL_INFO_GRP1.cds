<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="2"/>
<FIELD attrname="GRP_TITLE1" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="01" GRP_TITLE1="材料"/>
<ROW CD="02" GRP_TITLE1="製品"/>
<ROW CD="03" GRP_TITLE1="工法"/>
<ROW CD="04" GRP_TITLE1="機械"/>
<ROW CD="05" GRP_TITLE1="システム"/>
<ROW CD="09" GRP_TITLE1="その他"/>
</ROWDATA>
</DATAPACKET>
