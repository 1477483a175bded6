<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="PRIVATE_ID" fieldtype="r8"/>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="CLIENT_KIND_CD" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="PJT_NAME" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CLIENT_NAME" fieldtype="string" WIDTH="255"/>
<FIELD attrname="PJT_START_DATE" fieldtype="date"/>
<FIELD attrname="PJT_END_DATE" fieldtype="date"/>
<FIELD attrname="TALVEN_NO" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
